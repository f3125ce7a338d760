#include "HistoryStore.h"

#include "HistoryWriter.h"

#include "link/LinkClock.h"

#include <QDeadlineTimer>
#include <QThread>

#include <iterator>
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

void HistoryStore::addStatus(qint64 utcMs, const DETECT &record, quint64 poll)
{
    enqueue({utcMs, record, poll});
}

void HistoryStore::addStatus(qint64 utcMs, const ADJ_CMD_STATE &record, quint64 poll)
{
    enqueue({utcMs, record, poll});
}

void HistoryStore::addStatus(qint64 utcMs, const ADJ_STATE &record, quint64 poll)
{
    enqueue({utcMs, record, poll});
}

void HistoryStore::addStatus(qint64 utcMs, const VAR_STRUCT &record, quint64 poll)
{
    enqueue({utcMs, record, poll});
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
    if (m_queue.size() + size_t(m_kept) >= size_t(QueueLimit)) {
        ++m_dropped;
        if (m_overflow++ == 0) {
            m_overflowFromMs = item.timeMs;
            report(Failure::QueueFull, {}, 0, 0);
        }
        return;
    }
    m_queue.push_back(std::move(item));
    ++m_accepted;
    if (m_queue.size() >= WakeAt)
        m_wake.wakeAll();
}

HistoryStore::Counters HistoryStore::counters() const
{
    qint64 kept;
    {
        QMutexLocker lock(&m_mutex);
        kept = m_kept;
    }
    return {m_written.load(), kept, m_dropped.load(), m_journalDuplicates.load(), m_open.load()};
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

namespace {

// The entries the "writes dropped" events among `items` stand for.
qint64 lostIn(const std::vector<HistoryItem> &items)
{
    qint64 lost = 0;
    for (const HistoryItem &item : items) {
        const HistoryEvent *e = std::get_if<HistoryEvent>(&item.data);
        if (e && e->kind == EventKind::WritesDropped)
            lost += e->code;
    }
    return lost;
}

}  // namespace

// The entries the full queue refused since it last had room, as the event
// that marks their gap; the count begins again.
std::optional<HistoryItem> HistoryStore::takeOverflow()
{
    QMutexLocker lock(&m_mutex);
    if (m_overflow == 0)
        return std::nullopt;
    const HistoryItem gap{m_overflowFromMs, HistoryEvent{EventKind::WritesDropped, m_overflow, {}, {}}};
    m_overflow = 0;
    return gap;
}

// The writer thread: a batch per second (sooner when asked); after a
// failure the batch is kept and tried again, first within a minute, then
// at twice the wait each time up to 15 minutes; the daily pruning.
void HistoryStore::run()
{
    HistoryWriter writer(m_path);
    qint64 attemptAtMs = m_clock->monotonicMs();
    qint64 waitMs = 0;     // since the last failure; 0 while all is well
    qint64 pruneAtMs = attemptAtMs;
    std::vector<HistoryItem> batch;
    std::vector<HistoryItem> taken;

    for (;;) {
        bool stopping;
        {
            QMutexLocker lock(&m_mutex);
            if (!m_stop && !m_flush)
                m_wake.wait(&m_mutex, BatchMs);
            // Held by the writer from now on, and still counted against the limit.
            m_kept += qint64(m_queue.size());
            taken.swap(m_queue);
            m_flush = false;
            stopping = m_stop;
        }
        const qint64 takenCount = qint64(taken.size());
        batch.insert(batch.end(), std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end()));
        taken.clear();

        // The last chance comes at the stop, whenever the next attempt was due.
        const qint64 nowMs = m_clock->monotonicMs();
        bool done = false;
        if (nowMs >= attemptAtMs || stopping) {
            const bool wrote = !batch.empty();
            qint64 lost = 0;
            const Failure failed = attempt(writer, batch, &lost);
            if (failed == Failure::None) {
                // Back once something was written again, not merely opened: a
                // damaged file may open and still fail every write.
                if (wrote || lost > 0) {
                    if (waitMs > 0 || lost > 0)
                        report(Failure::None, {}, 0, lost);
                    waitMs = 0;
                }
                done = true;
            } else {
                if (waitMs == 0)
                    report(failed, writer.reason(), writer.foundVersion(), 0);
                waitMs = waitMs == 0 ? RetryFirstMs : qMin(2 * waitMs, RetryLongestMs);
                attemptAtMs = nowMs + waitMs;
            }
        }
        if (!done && stopping) {
            writer.drop(batch);
            m_dropped += qint64(batch.size());
            done = true;
        }
        if (done)
            batch.clear();

        const int keepDays = m_keepDays.load();
        if (writer.isOpen() && waitMs == 0 && keepDays > 0 && nowMs >= pruneAtMs) {
            writer.prune(m_clock->nowUtc().toMSecsSinceEpoch() - qint64(keepDays) * 86400000);
            pruneAtMs = nowMs + PruneEveryMs;
        }
        m_open = writer.isOpen();
        m_journalDuplicates = writer.journalDuplicates();

        {
            QMutexLocker lock(&m_mutex);
            m_processed += takenCount;
            m_kept = qint64(batch.size());
            m_done.wakeAll();
        }
        if (stopping)
            break;
    }
    writer.close(m_clock->nowUtc().toMSecsSinceEpoch());
    m_open = false;
}

// Opens when not open yet and writes the batch; what the full queue refused
// meanwhile is marked right after what it held. What could not be written
// stays in the batch; `lost` counts the entries of the gaps written.
HistoryStore::Failure HistoryStore::attempt(HistoryWriter &writer, std::vector<HistoryItem> &batch, qint64 *lost)
{
    if (!writer.isOpen()) {
        const HistoryConnection::Status status = writer.open(sessionStartMs(batch));
        if (status != HistoryConnection::Status::Open)
            return failure(status);
    }
    if (!writer.write(batch))
        return Failure::CannotWrite;
    m_written += qint64(batch.size());
    *lost = lostIn(batch);
    batch.clear();
    if (std::optional<HistoryItem> gap = takeOverflow()) {
        batch.push_back(*gap);
        if (!writer.write(batch))
            return Failure::CannotWrite;
        ++m_written;
        *lost += lostIn(batch);
        batch.clear();
    }
    return Failure::None;
}

// The session begins when the program made the store, or later when the
// history could not be opened at first; never after the first entry it is
// about to write.
qint64 HistoryStore::sessionStartMs(const std::vector<HistoryItem> &batch) const
{
    qint64 start = m_createdMs;
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
                emit resumed(dropped == 0 ? tr("History is recorded again; nothing was lost meanwhile.")
                                          : tr("History is recorded again; %1 entries could not be stored meanwhile.")
                                                .arg(dropped));
                return;
            case Failure::CannotOpen:
                emit failed(tr("History is paused: %1 cannot be opened (%2). It is tried again within a minute, "
                               "and what comes meanwhile is kept.")
                                .arg(m_path, reason));
                return;
            case Failure::NotHistory:
                emit failed(tr("History is paused: %1 is not a history database. It is tried again within a minute, "
                               "and what comes meanwhile is kept.")
                                .arg(m_path));
                return;
            case Failure::Newer:
                emit failed(tr("History is off: %1 was written by a newer version of the program "
                               "(schema %2).")
                                .arg(m_path)
                                .arg(version));
                return;
            case Failure::CannotWrite:
                emit failed(tr("History is paused: writing %1 failed (%2). It is tried again within a minute, "
                               "and what comes meanwhile is kept.")
                                .arg(m_path, reason));
                return;
            case Failure::QueueFull:
                emit failed(tr("History is losing entries: its queue is full until %1 can be written again.")
                                .arg(m_path));
                return;
            }
        },
        Qt::QueuedConnection);
}
