#include "HistoryWindow.h"
#include "ui_HistoryWindow.h"

#include "HistoryWindowPlace.h"

#include "history/HistoryLoader.h"

#include "dialogs/SaveFileChooser.h"
#include "history/HistoryText.h"
#include "link/LinkClock.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

namespace {

// How often a range that follows the clock is checked for drawing anew.
constexpr int LiveCheckMs = 2000;
// However wide a pixel, a growing history is drawn anew at least this often.
constexpr qint64 LiveLongestMs = 60000;
const QSize PreferredSize(1100, 820);

}  // namespace

HistoryWindow::HistoryWindow(const QString &databasePath, const QString &iniFile, std::shared_ptr<LinkClock> clock,
                             QWidget *parent)
    : HistoryWindow([databasePath] { return new HistoryLoader(databasePath); },
                    QFileInfo(databasePath).absolutePath(), iniFile, std::move(clock), parent)
{
}

HistoryWindow::HistoryWindow(const SourceMaker &makeSource, const QString &exportFolder, const QString &iniFile,
                             std::shared_ptr<LinkClock> clock, QWidget *parent)
    : QWidget(parent, Qt::Window),
      ui(new Ui::HistoryWindow),
      m_iniFile(iniFile),
      m_clock(clock ? std::move(clock) : std::make_shared<LinkClock>()),
      m_databaseFolder(exportFolder)
{
    ui->setupUi(this);
    ui->progressBar->hide();
    // Two lines hold the read-out of a row's four channels, and the plots
    // keep their height whatever the mouse passes over.
    ui->readoutLabel->setWordWrap(true);
    ui->readoutLabel->setFixedHeight(2 * ui->readoutLabel->fontMetrics().lineSpacing() + 2);
    ui->rangeCombo->setCurrentIndex(m_choice);
    showDates(HistoryRange::of(m_choice, nowMs(), {}, {}));
    for (int n = 1; n <= 4; ++n)
        m_channelNames << HistoryText::series(Series::offset(n));
    ui->stabilityPage->setExportFolder(m_databaseFolder);

    m_viewLoader = makeSource();
    m_jobLoader = makeSource();
    for (HistorySource *loader : {m_viewLoader, m_jobLoader}) {
        connect(loader, &HistorySource::progress, this, &HistoryWindow::progress);
        connect(loader, &HistorySource::unavailable, this, &HistoryWindow::unavailable);
    }
    connect(m_viewLoader, &HistorySource::viewLoaded, this, &HistoryWindow::viewLoaded);
    connect(m_jobLoader, &HistorySource::stabilityReady, this, &HistoryWindow::stabilityReady);
    connect(m_jobLoader, &HistorySource::exported, this, &HistoryWindow::exported);
    m_viewThread = startWorker(m_viewLoader, QStringLiteral("history view"));
    m_jobThread = startWorker(m_jobLoader, QStringLiteral("history jobs"));

    connect(ui->historyPlot, &HistoryPlot::readout, ui->readoutLabel, &QLabel::setText);
    StabilityPage *page = ui->stabilityPage;
    connect(page, &StabilityPage::readout, ui->readoutLabel, &QLabel::setText);
    connect(page, &StabilityPage::choiceChanged, this, &HistoryWindow::requestStability);
    connect(page, &StabilityPage::seriesExportChosen, this, &HistoryWindow::exportSeries);
    connect(page, &StabilityPage::status, this, &HistoryWindow::setStatus);
    connect(page, &StabilityPage::saved, this, &HistoryWindow::saved);
    connect(ui->historyPlot, &HistoryPlot::rangeMoving, this, [this] {
        // What loads for the range the operator is leaving would pull the
        // axis back.
        m_viewLoader->want(0);
        finishJob(m_viewId);
    });
    connect(ui->historyPlot, &HistoryPlot::rangeChosen, this, [this](TimeRange range) {
        m_choice = HistoryRange::BetweenDates;
        ui->rangeCombo->setCurrentIndex(m_choice);
        showDates(range);
        request(m_choice, range);
    });
    for (QDateTimeEdit *edit : {ui->fromEdit, ui->toEdit}) {
        connect(edit, &QDateTimeEdit::dateTimeChanged, this, [this] {
            // Dates being typed stop the following of the clock.
            m_choice = HistoryRange::BetweenDates;
            ui->rangeCombo->setCurrentIndex(m_choice);
        });
    }
    m_liveTimer.setInterval(LiveCheckMs);
    connect(&m_liveTimer, &QTimer::timeout, this, &HistoryWindow::followClock);

    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    setGeometry(HistoryWindowPlace::placed(HistoryWindowPlace::read(m_iniFile), screens, minimumSize(),
                                           PreferredSize));
}

HistoryWindow::~HistoryWindow()
{
    stopWorker(m_viewLoader, m_viewThread);
    stopWorker(m_jobLoader, m_jobThread);
}

QThread *HistoryWindow::startWorker(HistorySource *loader, const QString &name)
{
    if (!loader->blocks()) {
        loader->setParent(this);
        return nullptr;
    }
    auto *thread = new QThread(this);
    thread->setObjectName(name);
    loader->moveToThread(thread);
    // The loader's reader belongs to that thread and is closed there.
    connect(thread, &QThread::finished, loader, &QObject::deleteLater);
    thread->start(QThread::LowPriority);
    return thread;
}

void HistoryWindow::stopWorker(HistorySource *loader, QThread *thread)
{
    loader->stop();
    if (!thread)
        return;
    thread->quit();
    thread->wait();
}

qint64 HistoryWindow::nowMs() const
{
    return m_clock->nowUtc().toMSecsSinceEpoch();
}

void HistoryWindow::setChannelNames(const QStringList &names)
{
    for (int i = 0; i < 4; ++i) {
        if (!names.value(i).trimmed().isEmpty())
            m_channelNames[i] = names.at(i).simplified();
    }
    ui->historyPlot->setChannelNames(m_channelNames);
    ui->stabilityPage->setChannelNames(names);
}

// --- ranges -----------------------------------------------------------------

void HistoryWindow::showRange(HistoryRange::Choice choice, TimeRange dates)
{
    m_choice = choice;
    ui->rangeCombo->setCurrentIndex(choice);
    if (choice == HistoryRange::BetweenDates)
        showDates(dates);
    request(choice, dates);
}

TimeRange HistoryWindow::shownRange() const
{
    return ui->historyPlot->shownRange();
}

TimeRange HistoryWindow::enteredDates() const
{
    return {ui->fromEdit->dateTime().toMSecsSinceEpoch(), ui->toEdit->dateTime().toMSecsSinceEpoch()};
}

void HistoryWindow::showDates(TimeRange range)
{
    const QSignalBlocker fromBlocker(ui->fromEdit);
    const QSignalBlocker toBlocker(ui->toEdit);
    ui->fromEdit->setDateTime(QDateTime::fromMSecsSinceEpoch(range.fromMs, Qt::UTC));
    ui->toEdit->setDateTime(QDateTime::fromMSecsSinceEpoch(range.toMs, Qt::UTC));
}

void HistoryWindow::on_rangeCombo_activated(int index)
{
    m_choice = HistoryRange::Choice(qBound(0, index, HistoryRange::ChoiceCount - 1));
    request(m_choice, m_choice == HistoryRange::BetweenDates ? enteredDates() : TimeRange());
}

void HistoryWindow::on_showButton_clicked()
{
    showRange(HistoryRange::BetweenDates, enteredDates());
}

void HistoryWindow::request(HistoryRange::Choice choice, TimeRange range)
{
    if (choice == HistoryRange::BetweenDates && range.isEmpty()) {
        setStatus(tr("The end of the range must come after its beginning."), true);
        return;
    }
    ViewRequest r;
    r.id = ++m_lastId;
    r.choice = choice;
    r.nowMs = nowMs();
    r.range = range;
    r.buckets = ui->historyPlot->bucketsWanted();
    // The stability of the range being left is no longer wanted.
    cancelStability();
    m_viewId = r.id;
    m_changed = false;
    m_loadedAtMs = r.nowMs;
    m_viewLoader->want(r.id);
    progress(r.id, 0);
    HistorySource *loader = m_viewLoader;
    QMetaObject::invokeMethod(loader, [loader, r] { loader->loadView(r); }, Qt::QueuedConnection);
}

void HistoryWindow::historyChanged()
{
    m_changed = true;
    ++m_generation;
}

void HistoryWindow::followClock()
{
    if (!isVisible() || !HistoryRange::followsNow(m_choice) || m_viewId != 0)
        return;
    // Drawn anew once the clock has moved a pixel, or sooner when there is
    // something new to draw.
    const qint64 pixelMs = shownRange().length() / ui->historyPlot->bucketsWanted();
    const qint64 waited = nowMs() - m_loadedAtMs;
    if (waited >= pixelMs || (m_changed && waited >= qMin(pixelMs, LiveLongestMs)))
        request(m_choice, {});
}

void HistoryWindow::viewLoaded(int id, const HistoryView &view, TimeRange extent)
{
    if (id != m_viewId)
        return;
    finishJob(id);
    m_loadedOnce = true;
    ui->historyPlot->showView(view);
    showDates(view.range);
    bool readings = false;
    for (const QVector<SeriesBucket> &series : view.series)
        readings = readings || !series.isEmpty();
    if (extent.isEmpty())
        setStatus(tr("Nothing has been recorded yet."));
    else if (!readings)
        setStatus(tr("No readings in this range; the history reaches from %1.").arg(rangeText(extent)));
    else
        setStatus(QString());
    if (ui->tabs->currentWidget() == ui->stabilityTab)
        requestStability();
    emit viewShown();
}

void HistoryWindow::unavailable(int id, const QString &reason)
{
    if (id != m_viewId && id != m_stabilityId && id != m_exportId)
        return;
    const bool exporting = id == m_exportId;
    finishJob(id);
    setStatus(tr("No history to show: %1").arg(reason), true);
    if (exporting)
        emit saved(m_exportPath, reason);
}

void HistoryWindow::progress(int id, int percent)
{
    if (id == 0 || (id != m_viewId && id != m_stabilityId && id != m_exportId))
        return;
    ui->progressBar->setValue(percent);
    ui->progressBar->show();
}

void HistoryWindow::finishJob(int id)
{
    if (id == 0)
        return;
    if (id == m_viewId)
        m_viewId = 0;
    if (id == m_stabilityId)
        m_stabilityId = 0;
    if (id == m_exportId) {
        m_exportId = 0;
        ui->exportCsvButton->setEnabled(true);
    }
    if (!m_viewId && !m_stabilityId && !m_exportId)
        ui->progressBar->hide();
}

// --- stability --------------------------------------------------------------

void HistoryWindow::on_tabs_currentChanged(int)
{
    ui->readoutLabel->clear();
    if (ui->tabs->currentWidget() == ui->stabilityTab)
        requestStability();
}

void HistoryWindow::requestStability()
{
    if (!m_loadedOnce)
        return;
    const StabilityRequest request = ui->stabilityPage->request(shownRange());
    if (m_stabilityId == 0 && ui->stabilityPage->shows(request))
        return;
    m_stabilityId = ++m_lastId;
    m_jobLoader->want(m_stabilityId);
    ui->stabilityPage->showComputing();
    progress(m_stabilityId, 0);
    HistorySource *loader = m_jobLoader;
    const int id = m_stabilityId;
    const int generation = m_generation;
    QMetaObject::invokeMethod(
        loader, [loader, id, request, generation] { loader->computeStability(id, request, generation); },
        Qt::QueuedConnection);
}

// The worker stops at its next step; what it would send is not wanted.
void HistoryWindow::cancelStability()
{
    if (m_stabilityId == 0)
        return;
    m_jobLoader->want(0);
    finishJob(m_stabilityId);
}

void HistoryWindow::stabilityReady(int id, const StabilityResult &result)
{
    if (id != m_stabilityId)
        return;
    finishJob(id);
    ui->stabilityPage->showResult(result, rangeText(result.request.range));
    emit stabilityShown();
}

// --- exports ----------------------------------------------------------------

void HistoryWindow::startExport(const QString &path, const std::function<void(HistorySource *, int)> &job)
{
    m_exportId = ++m_lastId;
    m_exportPath = path;
    ui->exportCsvButton->setEnabled(false);
    progress(m_exportId, 0);
    HistorySource *loader = m_jobLoader;
    const int id = m_exportId;
    QMetaObject::invokeMethod(loader, [loader, id, job] { job(loader, id); }, Qt::QueuedConnection);
}

void HistoryWindow::exportSeries(const QString &path)
{
    if (m_exportId)
        return;
    const StabilityResult result = ui->stabilityPage->result();
    const int generation = m_generation;
    startExport(path, [result, generation, path](HistorySource *loader, int id) {
        loader->exportSeries(id, result, generation, path);
    });
}

QString HistoryWindow::suggestedName(const QString &suffix) const
{
    const TimeRange range = shownRange();
    const QString from =
        QDateTime::fromMSecsSinceEpoch(range.fromMs, Qt::UTC).toString(QStringLiteral("yyyyMMdd-hhmm"));
    return QDir(m_databaseFolder).filePath(QStringLiteral("history-") + from + QLatin1Char('.') + suffix);
}

void HistoryWindow::on_exportCsvButton_clicked()
{
    if (m_exportId)
        return;
    const QString path = SaveFileChooser::choose(this, tr("Export the shown range as CSV"),
                                                 suggestedName(QStringLiteral("csv")), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    const TimeRange range = shownRange();
    startExport(path, [range, path](HistorySource *loader, int id) { loader->exportCsv(id, range, path); });
}

void HistoryWindow::exported(int id, qint64 rows, const QString &error)
{
    if (id != m_exportId)
        return;
    finishJob(id);
    const QString shownPath = QDir::toNativeSeparators(m_exportPath);
    if (error.isEmpty())
        setStatus(tr("%1 readings exported to %2.").arg(rows).arg(shownPath));
    else
        setStatus(tr("Could not export to %1: %2").arg(shownPath, error), true);
    emit saved(m_exportPath, error);
}

void HistoryWindow::on_savePlotsButton_clicked()
{
    const bool stability = ui->tabs->currentWidget() == ui->stabilityTab;
    QString path = SaveFileChooser::choose(
        this, tr("Save the plots"),
        suggestedName(stability ? QStringLiteral("stability.png") : QStringLiteral("png")),
        tr("PNG image (*.png);;PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    QCustomPlot *plot = stability ? ui->stabilityPage->plot() : ui->historyPlot;
    const bool pdf = QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
    const bool ok = pdf ? plot->savePdf(path) : plot->savePng(path);
    const QString shownPath = QDir::toNativeSeparators(path);
    const QString error = ok ? QString() : tr("the file cannot be written");
    if (ok)
        setStatus(tr("Plots saved to %1.").arg(shownPath));
    else
        setStatus(tr("Could not save the plots to %1: %2").arg(shownPath, error), true);
    emit saved(path, error);
}

// --- the window -------------------------------------------------------------

void HistoryWindow::setStatus(const QString &text, bool error)
{
    ui->statusLabel->setStyleSheet(error ? QStringLiteral("color: red;") : QString());
    ui->statusLabel->setText(text);
}

QString HistoryWindow::rangeText(TimeRange range) const
{
    const QString format = QStringLiteral("dd.MM.yyyy hh:mm");
    return QDateTime::fromMSecsSinceEpoch(range.fromMs, Qt::UTC).toString(format) + QStringLiteral(" – ")
        + QDateTime::fromMSecsSinceEpoch(range.toMs, Qt::UTC).toString(format) + QStringLiteral(" UTC");
}

void HistoryWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_liveTimer.start();
    // What hiding dropped.
    if (m_loadedOnce && ui->tabs->currentWidget() == ui->stabilityTab)
        requestStability();
    if (m_loadedOnce || m_viewId != 0)
        return;
    // The range is what an operator changes first.
    ui->rangeCombo->setFocus();
    // The plot's width, which sets the number of buckets, is known once the
    // window is laid out.
    QTimer::singleShot(0, this, [this] {
        if (!m_loadedOnce && m_viewId == 0)
            request(m_choice, m_choice == HistoryRange::BetweenDates ? enteredDates() : TimeRange());
    });
}

void HistoryWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_liveTimer.stop();
    cancelStability();
    if (!event->spontaneous())
        HistoryWindowPlace::write(m_iniFile, geometry());
}

void HistoryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->historyPlot->retranslate();
    }
    QWidget::changeEvent(event);
}
