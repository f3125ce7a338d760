#include "StatusPanel.h"

#include "ui_MainWindow.h"

#include <QApplication>

StatusPanel::StatusPanel(Ui::MainWindow &ui)
    : m_ui(ui),
      m_styles(QApplication::palette()),
      m_channels{{ui.lineEdit_stat1, ui.lineEdit_chan1, ui.label_fave1, ui.label_avar1},
                 {ui.lineEdit_stat2, ui.lineEdit_chan2, ui.label_fave2, ui.label_avar2},
                 {ui.lineEdit_stat3, ui.lineEdit_chan3, ui.label_fave3, ui.label_avar3},
                 {ui.lineEdit_stat4, ui.lineEdit_chan4, ui.label_fave4, ui.label_avar4}}
{
}

QStringList StatusPanel::names() const
{
    QStringList names;
    for (const ChannelWidgets &c : m_channels)
        names << c.name->text();
    return names;
}

void StatusPanel::setNames(const QStringList &names)
{
    for (int i = 0; i < 4; ++i)
        m_channels[i].name->setText(names.value(i));
}

void StatusPanel::setNamesReadOnly(const QString &why)
{
    for (const ChannelWidgets &c : m_channels) {
        c.name->setReadOnly(true);
        c.name->setToolTip(why);
    }
}

QVector<QLineEdit *> StatusPanel::nameFields() const
{
    QVector<QLineEdit *> fields;
    for (const ChannelWidgets &c : m_channels)
        fields << c.name;
    return fields;
}

void StatusPanel::clearMeasurements()
{
    for (const ChannelWidgets &c : m_channels) {
        c.offset->clear();
        c.adev->clear();
    }
    m_ui.label_offset->clear();
    m_ui.label_drift->clear();
}

void StatusPanel::paint(const StatusFields &fields)
{
    m_ui.lineEdit_stat->setText(fields.overall().text);
    m_styles.apply(m_ui.lineEdit_stat, fields.overall().style);
    for (int i = 0; i < 4; ++i) {
        const StatusFields::Channel &shown = fields.channel(i);
        const ChannelWidgets &c = m_channels[i];
        c.status->setText(shown.status.text);
        m_styles.apply(c.status, shown.status.style);
        m_styles.apply(c.name, shown.name);
        if (shown.values) {
            m_styles.apply(c.offset, *shown.values);
            m_styles.apply(c.adev, *shown.values);
        }
    }
    if (const std::optional<TextStyle> &style = fields.outputTexts()) {
        for (QLabel *label : {m_ui.label_offset, m_ui.label_drift, m_ui.label_mode, m_ui.label_control})
            m_styles.apply(label, *style);
    }
    m_ui.label_mode->setText(fields.mode());
}

void StatusPanel::showAdjState(const ADJ_STATE &adj)
{
    m_ui.label_offset->setText(StatusDisplay::number(adj.freqOffset, 6));
    m_ui.label_drift->setText(StatusDisplay::number(adj.freqDrift, 6));
    for (int i = 0; i < 4; ++i)
        m_channels[i].offset->setText(StatusDisplay::number(adj.chanOffset[i], 4));
}

void StatusPanel::showVarState(const VAR_STRUCT &var)
{
    for (int n = 1; n <= 4; ++n)
        m_channels[n - 1].adev->setText(StatusDisplay::number(var.adev(n), 3));
}
