#include "HistoryStore.h"

#include "HistoryWriter.h"

#include "link/LinkClock.h"

#include <QDeadlineTimer>
#include <QThread>

#include <vector>

namespace {

// A burst (a journal, an import) wakes the writer before the second is over.
constexpr size_t WakeAt = 1000;

}  // namespace

QString HistoryStore::pathIn(const QString &pathLocal)
{
    return pathLocal + QStringLiteral("/Logs/history.sqlite");
}

HistoryStore::HistoryStore(const QString &path, std::shared_ptr<LinkClock> clock, int keepDays, QObject *parent)
    : QObject(parent),
      m_path(path),
      m_clock(clock ? std::move(clock) : std::make_shared<LinkClock>()),
      m_keepDays(qMax(0, keepDays)),
      m_createdMs(m_clock->nowUtc().toMSecsSinceEpoch())
{
    m_thread = QThread::create([this] { run(); });
    m_thread->setObjectName(QStringLiteral("history writer"));
    m_thread->start(QThread::LowPriority);
}

HistoryStore::~HistoryStore()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_wake.wakeAll();
    }
    m_thread->wait();
    delete m_thread;
}

void HistoryStore::setKeepDays(int days)
{
    m_keepDays = qMax(0, days);
}

void HistoryStore::addStatus(qint64 utcMs, const DETECT &record)
{
    enqueue({utcMs, record});
}

void HistoryStore::addStatus(qint64 utcMs, const ADJ_CMD_STATE &record)
{
    enqueue({utcMs, record});
}

void HistoryStore::addStatus(qint64 utcMs, const ADJ_STATE &record)
{
    enqueue({utcMs, record});
}

void HistoryStore::addStatus(qint64 utcMs, const VAR_STRUCT &record)
{
    enqueue({utcMs, record});
}

void HistoryStore::addSearchStarted(qint64 utcMs)
{
    addEvent(utcMs, EventKind::SearchStarted);
}

void HistoryStore::addConnected(qint64 utcMs, const QString &port, const QString &identification,
                                const QStringList &deviceInfo)
{
    addEvent(utcMs, EventKind::Connected, 0, port, identification);
    if (!deviceInfo.isEmpty())
        addDeviceInfo(utcMs, deviceInfo);
}

void HistoryStore::addDeviceInfo(qint64 utcMs, const QStringList &deviceInfo)
{
    addEvent(utcMs, EventKind::DeviceInfo, 0, {}, deviceInfo.join(QLatin1Char('\n')));
}

void HistoryStore::addConnectionLost(qint64 utcMs)
{
    addEvent(utcMs, EventKind::ConnectionLost);
}

void HistoryStore::addMessage(qint64 utcMs, const QString &colour, const QString &text)
{
    addEvent(utcMs, EventKind::Message, 0, text, colour);
}

void HistoryStore::addCommandQueued(qint64 utcMs, int code)
{
    addEvent(utcMs, EventKind::CommandQueued, code);
}

void HistoryStore::addCommandFinished(qint64 utcMs, int code, bool ok)
{
    addEvent(utcMs, EventKind::CommandFinished, code, ok ? QStringLiteral("ok") : QStringLiteral("failed"));
}

void HistoryStore::addJournal(qint64 utcMs, const QVector<JournalRecord> &records)
{
    enqueue({utcMs, records});
}

void HistoryStore::addJournal(qint64 utcMs, const JournalFile::Slots &entries)
{
    QVector<JournalRecord> records;
    for (const std::optional<JournalRecord> &slot : entries) {
        if (slot)
            records << *slot;
    }
    addJournal(utcMs, records);
}

void HistoryStore::addEvent(qint64 utcMs, EventKind kind, qint64 code, const QString &text, const QString &detail)
{
    enqueue({utcMs, HistoryEvent{kind, code, text, detail}});
}

void HistoryStore::enqueue(HistoryItem item)
{
    QMutexLocker lock(&m_mutex);
    if (m_queue.size() >= size_t(QueueLimit)) {
        ++m_dropped;
        return;
    }
    m_queue.push_back(std::move(item));
    ++m_accepted;
    if (m_queue.size() >= WakeAt)
        m_wake.wakeAll();
}

HistoryStore::Counters HistoryStore::counters() const
{
    return {m_written.load(), m_dropped.load(), m_journalDuplicates.load(), m_open.load()};
}

bool HistoryStore::waitUntilWritten(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_mutex);
    const qint64 target = m_accepted;
    while (m_processed < target) {
        m_flush = true;
        m_wake.wakeAll();
        if (!m_done.wait(&m_mutex, deadline))
            return m_processed >= target;
    }
    return true;
}

// The writer thread: a batch per second (sooner when asked), the hourly
// attempt to open while the database is unavailable, the daily pruning.
void HistoryStore::run()
{
    HistoryWriter writer(m_path);
    qint64 retryAtMs = m_clock->monotonicMs();
    qint64 pruneAtMs = retryAtMs;
    bool opened = false;   // once; later openings follow failures
    bool failing = false;  // a failure was reported and nothing written since
    qint64 lostMeanwhile = 0;
    std::vector<HistoryItem> batch;

    for (;;) {
        bool stopping;
        {
            QMutexLocker lock(&m_mutex);
            if (!m_stop && !m_flush)
                m_wake.wait(&m_mutex, BatchMs);
            batch.swap(m_queue);
            m_flush = false;
            stopping = m_stop;
        }

        const qint64 nowMs = m_clock->monotonicMs();
        if (!writer.isOpen() && nowMs >= retryAtMs) {
            lostMeanwhile = writer.droppedSinceOpen();
            const HistoryConnection::Status status = writer.open(sessionStartMs(batch, opened));
            if (status != HistoryConnection::Status::Open) {
                retryAtMs = nowMs + RetryMs;
                if (!failing)
                    report(failure(status), writer.reason(), writer.foundVersion(), 0);
                failing = true;
            }
        }

        opened = opened || writer.isOpen();
        if (!writer.isOpen()) {
            writer.skip(batch);
            m_dropped += qint64(batch.size());
        } else if (writer.write(batch)) {
            m_written += qint64(batch.size());
            // Back once something was written again, not merely opened: a
            // damaged file may open and still fail every write.
            if (failing && !batch.empty()) {
                report(Failure::None, {}, 0, lostMeanwhile);
                failing = false;
            }
        } else {
            m_dropped += qint64(batch.size());
            retryAtMs = nowMs + RetryMs;
            if (!failing)
                report(Failure::CannotWrite, writer.reason(), 0, 0);
            failing = true;
        }

        const int keepDays = m_keepDays.load();
        if (writer.isOpen() && keepDays > 0 && nowMs >= pruneAtMs) {
            writer.prune(m_clock->nowUtc().toMSecsSinceEpoch() - qint64(keepDays) * 86400000);
            pruneAtMs = nowMs + PruneEveryMs;
        }
        m_open = writer.isOpen();
        m_journalDuplicates = writer.journalDuplicates();

        {
            QMutexLocker lock(&m_mutex);
            m_processed += qint64(batch.size());
            m_done.wakeAll();
        }
        batch.clear();
        if (stopping)
            break;
    }
    writer.close(m_clock->nowUtc().toMSecsSinceEpoch());
    m_open = false;
}

// The session begins when the program made the store, or, after a failure,
// now; never after the first entry it is about to write.
qint64 HistoryStore::sessionStartMs(const std::vector<HistoryItem> &batch, bool reopening) const
{
    qint64 start = reopening ? m_clock->nowUtc().toMSecsSinceEpoch() : m_createdMs;
    for (const HistoryItem &item : batch)
        start = qMin(start, item.timeMs);
    return start;
}

HistoryStore::Failure HistoryStore::failure(HistoryConnection::Status status)
{
    switch (status) {
    case HistoryConnection::Status::NotHistory:
        return Failure::NotHistory;
    case HistoryConnection::Status::Newer:
        return Failure::Newer;
    default:
        return Failure::CannotOpen;
    }
}

// Texts are made on the GUI thread, in the language it shows.
void HistoryStore::report(Failure failure, const QString &reason, int version, qint64 dropped)
{
    QMetaObject::invokeMethod(
        this,
        [this, failure, reason, version, dropped] {
            switch (failure) {
            case Failure::None:
                emit resumed(tr("History is recorded again; %1 entries could not be stored meanwhile.")
                                 .arg(dropped));
                return;
            case Failure::CannotOpen:
                emit failed(tr("History is off: %1 cannot be opened (%2). Trying again in an hour.")
                                .arg(m_path, reason));
                return;
            case Failure::NotHistory:
                emit failed(tr("History is off: %1 is not a history database. Trying again in an hour.")
                                .arg(m_path));
                return;
            case Failure::Newer:
                emit failed(tr("History is off: %1 was written by a newer version of the program "
                               "(schema %2).")
                                .arg(m_path)
                                .arg(version));
                return;
            case Failure::CannotWrite:
                emit failed(tr("History is off: writing %1 failed (%2). Trying again in an hour.")
                                .arg(m_path, reason));
                return;
            }
        },
        Qt::QueuedConnection);
}
