#include "StabilityPage.h"
#include "ui_StabilityPage.h"

#include "dialogs/SaveFileChooser.h"
#include "history/HistoryText.h"
#include "history/StabilityCsv.h"
#include "history/StabilityText.h"

#include <QDateTime>
#include <QDir>
#include <QSaveFile>

StabilityPage::StabilityPage(QWidget *parent) : QWidget(parent), ui(new Ui::StabilityPage)
{
    ui->setupUi(this);
    m_channelNames = QStringList{QString(), QString(), QString(), QString()};
    fillSeriesCombo();
    fillIntervalCombo();
    ui->exportTableButton->setEnabled(false);
    ui->exportSeriesButton->setEnabled(false);

    connect(ui->stabilityPlot, &StabilityPlot::readout, this, &StabilityPage::readout);
    for (QComboBox *combo : {ui->seriesCombo, ui->spacingCombo, ui->intervalCombo})
        connect(combo, qOverload<int>(&QComboBox::activated), this, &StabilityPage::choiceChanged);
    for (QCheckBox *check : {ui->oadevCheck, ui->mdevCheck, ui->tdevCheck, ui->ohdevCheck}) {
        connect(check, &QCheckBox::toggled, this, [this, check](bool on) {
            // One statistic at least.
            if (!on && chosenKinds().isEmpty()) {
                check->setChecked(true);
                return;
            }
            emit choiceChanged();
        });
    }
}

StabilityPage::~StabilityPage() = default;

void StabilityPage::setChannelNames(const QStringList &names)
{
    for (int i = 0; i < 4; ++i) {
        if (!names.value(i).trimmed().isEmpty())
            m_channelNames[i] = names.at(i).simplified();
    }
    fillSeriesCombo();
}

QString StabilityPage::seriesName(Series::Id series) const
{
    const QString name = m_channelNames.value(series - Series::Offset1);
    if (series == Series::FreqOffset || name.isEmpty())
        return HistoryText::series(series);
    return tr("Offset of %1").arg(name);
}

void StabilityPage::fillSeriesCombo()
{
    const int current = qMax(0, ui->seriesCombo->currentIndex());
    ui->seriesCombo->clear();
    for (Series::Id s : {Series::FreqOffset, Series::Offset1, Series::Offset2, Series::Offset3, Series::Offset4})
        ui->seriesCombo->addItem(seriesName(s), int(s));
    ui->seriesCombo->setCurrentIndex(current);
}

// The intervals of the range shown last, with the time each covers.
void StabilityPage::fillIntervalCombo()
{
    const qint64 current = ui->intervalCombo->currentData().toLongLong();
    ui->intervalCombo->clear();
    ui->intervalCombo->addItem(tr("most time"), qint64(0));
    for (const IntervalShares::Share &s : qAsConst(m_result.shares))
        ui->intervalCombo->addItem(tr("%1 (%2)").arg(StabilityText::seconds(double(s.intervalMs) / 1000),
                                                     StabilityText::duration(s.timeMs)),
                                   s.intervalMs);
    ui->intervalCombo->setCurrentIndex(qMax(0, ui->intervalCombo->findData(current)));
}

QVector<Deviation::Kind> StabilityPage::chosenKinds() const
{
    QVector<Deviation::Kind> kinds;
    if (ui->oadevCheck->isChecked())
        kinds << Deviation::Oadev;
    if (ui->mdevCheck->isChecked())
        kinds << Deviation::Mdev;
    if (ui->tdevCheck->isChecked())
        kinds << Deviation::Tdev;
    if (ui->ohdevCheck->isChecked())
        kinds << Deviation::Ohdev;
    return kinds;
}

StabilityRequest StabilityPage::request(TimeRange range) const
{
    StabilityRequest r;
    r.series = Series::Id(ui->seriesCombo->currentData().toInt());
    r.range = range;
    r.options.kinds = chosenKinds();
    r.options.spacing = TauSpacing::Spacing(qBound(0, ui->spacingCombo->currentIndex(), TauSpacing::SpacingCount - 1));
    r.intervalMs = ui->intervalCombo->currentData().toLongLong();
    return r;
}

bool StabilityPage::shows(const StabilityRequest &r) const
{
    const StabilityRequest &s = m_result.request;
    return m_hasResult && s.series == r.series && s.range.fromMs == r.range.fromMs && s.range.toMs == r.range.toMs
        && s.options.kinds == r.options.kinds && s.options.spacing == r.options.spacing
        && s.intervalMs == r.intervalMs;
}

QCustomPlot *StabilityPage::plot() const
{
    return ui->stabilityPlot;
}

void StabilityPage::showComputing()
{
    ui->stabilityInfoLabel->setText(tr("Computing the stability..."));
}

void StabilityPage::showResult(const StabilityResult &result, const QString &rangeText)
{
    m_result = result;
    m_hasResult = true;
    fillIntervalCombo();
    ui->stabilityPlot->showResult(result, seriesName(result.request.series) + QStringLiteral(", ") + rangeText);
    ui->stabilityInfoLabel->setText(StabilityText::info(result));
    const bool any = result.used > 0;
    ui->exportTableButton->setEnabled(any);
    ui->exportSeriesButton->setEnabled(any);
}

QString StabilityPage::suggestedName(const QString &what, const QString &suffix) const
{
    const QString from = QDateTime::fromMSecsSinceEpoch(m_result.request.range.fromMs, Qt::UTC)
                             .toString(QStringLiteral("yyyyMMdd-hhmm"));
    const QString series = Series::column(m_result.request.series).section(QLatin1Char('_'), 0, 0);
    return QDir(m_folder).filePath(QStringLiteral("%1-%2-%3.%4").arg(what, series, from, suffix));
}

void StabilityPage::on_exportTableButton_clicked()
{
    const QString path = SaveFileChooser::choose(this, tr("Export the stability table as CSV"),
                                                 suggestedName(QStringLiteral("stability"), QStringLiteral("csv")),
                                                 tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(StabilityCsv::table(m_result.curves)) >= 0
        && file.commit();
    const QString shownPath = QDir::toNativeSeparators(path);
    if (ok)
        emit status(tr("Stability table exported to %1.").arg(shownPath), false);
    else
        emit status(tr("Could not export to %1: %2").arg(shownPath, file.errorString()), true);
    emit saved(path, ok ? QString() : file.errorString());
}

void StabilityPage::on_exportSeriesButton_clicked()
{
    const QString path = SaveFileChooser::choose(
        this, tr("Export the analysed series (MJD, fractional frequency)"),
        suggestedName(QStringLiteral("series"), QStringLiteral("txt")), tr("Text files (*.txt *.dat)"));
    if (!path.isEmpty())
        emit seriesExportChosen(path);
}

void StabilityPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        fillSeriesCombo();
        fillIntervalCombo();
        ui->stabilityPlot->retranslate();
        if (m_hasResult)
            ui->stabilityInfoLabel->setText(StabilityText::info(m_result));
    }
    QWidget::changeEvent(event);
}
