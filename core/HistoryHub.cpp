#include "HistoryHub.h"

#include "history/HistoryRecorder.h"
#include "history/HistorySettings.h"
#include "history/HistoryStore.h"
#include "history/ParameterLogImporter.h"
#include "link/LinkClock.h"

#include <QDir>
#include <QThread>

namespace {

const QString Black = QStringLiteral("black");
const QString Red = QStringLiteral("red");

}  // namespace

HistoryHub::HistoryHub(const QString &pathLocal, const QString &iniFile, std::shared_ptr<LinkClock> clock,
                       QObject *parent)
    : QObject(parent),
      m_pathLocal(pathLocal),
      m_iniFile(iniFile),
      m_clock(clock ? std::move(clock) : std::make_shared<LinkClock>()),
      m_keepDays(HistorySettings::read(iniFile).keepDays)
{
}

HistoryHub::~HistoryHub()
{
    if (m_import) {
        *m_stopImport = true;
        m_import->wait();
        delete m_import;
    }
    m_recorder.reset();
    m_store.reset();
}

qint64 HistoryHub::nowMs() const
{
    return m_clock->nowUtc().toMSecsSinceEpoch();
}

void HistoryHub::start(COMThread *link)
{
    if (m_store)
        return;
    m_store = std::make_unique<HistoryStore>(HistoryStore::pathIn(m_pathLocal), m_clock, m_keepDays);
    connect(m_store.get(), &HistoryStore::failed, this, [this](const QString &text) { emit messageLine(text, Red); });
    connect(m_store.get(), &HistoryStore::resumed, this,
            [this](const QString &text) { emit messageLine(text, Black); });
    for (const Early &e : qAsConst(m_early)) {
        if (e.colour.isEmpty())
            m_store->addCommandQueued(e.utcMs, e.code);
        else
            m_store->addMessage(e.utcMs, e.colour, e.text);
    }
    m_early.clear();
    m_recorder = std::make_unique<HistoryRecorder>(m_store.get(), m_clock);
    m_recorder->watch(link);
    connect(m_recorder.get(), &HistoryRecorder::pollRecorded, this, &HistoryHub::historyChanged);
}

QString HistoryHub::databasePath() const
{
    return HistoryStore::pathIn(m_pathLocal);
}

void HistoryHub::recordMessage(const QString &text, const QString &colour)
{
    if (m_store)
        m_store->addMessage(nowMs(), colour, text);
    else
        m_early << Early{nowMs(), colour, text, 0};
}

void HistoryHub::recordCommandQueued(int code)
{
    if (m_store)
        m_store->addCommandQueued(nowMs(), code);
    else
        m_early << Early{nowMs(), QString(), QString(), code};
}

void HistoryHub::importParameterLogs(const QString &folder)
{
    if (m_import) {
        emit messageLine(tr("Parameter logs are being imported already."), Black);
        return;
    }
    emit messageLine(tr("Importing the parameter logs in %1...").arg(QDir::toNativeSeparators(folder)), Black);

    auto report = std::make_shared<ParameterLogImporter::Report>();
    const QString database = HistoryStore::pathIn(m_pathLocal);
    const int keepDays = m_keepDays;
    const qint64 now = nowMs();
    const std::shared_ptr<std::atomic<bool>> stop = m_stopImport;
    m_import = QThread::create([report, database, keepDays, now, folder, stop] {
        ParameterLogImporter importer(database, keepDays, now);
        *report = importer.importFolder(folder, [stop](int, int) { return !*stop; });
    });
    m_import->setObjectName(QStringLiteral("history import"));
    // The report is read once the thread has ended, never while it writes.
    connect(m_import, &QThread::finished, this, [this, report] {
        emit messageLine(ParameterLogImporter::summary(*report), report->failed ? Red : Black);
        importFinished();
    });
    m_import->start(QThread::LowPriority);
}

void HistoryHub::importFinished()
{
    m_import->wait();
    delete m_import;
    m_import = nullptr;
    emit historyChanged();
}
