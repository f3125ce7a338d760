#pragma once

#include "DisplayStyles.h"
#include "status/StatusFields.h"

#include <QStringList>
#include <QVector>

class QLabel;
class QLineEdit;

namespace Ui {
class MainWindow;
}

// The status part of the main window's form: the overall state, each
// channel's status, name, offset and ADEV fields, the mode and the output's
// offset and trend, painted from what the core reports.
class StatusPanel
{
public:
    explicit StatusPanel(Ui::MainWindow &ui);

    // The channel names as the operator has them in the name fields.
    QStringList names() const;
    void setNames(const QStringList &names);
    // Names set elsewhere: shown, not edited here; `why` as the fields' tooltip.
    void setNamesReadOnly(const QString &why);
    QVector<QLineEdit *> nameFields() const;
    // No measurement yet: the number fields empty.
    void clearMeasurements();

    void paint(const StatusFields &fields);
    void showAdjState(const ADJ_STATE &adj);
    void showVarState(const VAR_STRUCT &var);

private:
    struct ChannelWidgets {
        QLineEdit *status;
        QLineEdit *name;
        QLabel *offset;
        QLabel *adev;
    };

    Ui::MainWindow &m_ui;
    DisplayStyles m_styles;
    ChannelWidgets m_channels[4];
};
