#include "HistoryFill.h"

#include "FillClock.h"
#include "LinkPace.h"

#include "history/HistoryStore.h"
#include "link/CommandParameters.h"
#include "simulator/InstrumentModel.h"

#include <QVector>

#include <algorithm>
#include <limits>
#include <memory>
#include <random>

namespace {

constexpr qint64 Minute = 60000;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;
constexpr int WaitEvery = 8000;

const QString Port = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
// A search tries the port this often while nothing answers.
constexpr qint64 AttemptMs = 1300;
// The daily download of 810 records holds the loop this long.
constexpr qint64 DownloadMs = 21000;
// Polls that go unanswered on a good line: about one in so many.
constexpr int UnansweredOneIn = 4000;
constexpr qint64 Never = std::numeric_limits<qint64>::max();

// Something that happens at a (true) time, in the order of the schedule; it
// runs before any poll after that time and is told the time.
struct Action {
    qint64 atMs;
    std::function<void(qint64)> run;
};

class Filler
{
public:
    explicit Filler(const HistoryFill::Options &o)
        : m_options(o),
          m_endMs((o.endUtc.isValid() ? o.endUtc : QDateTime::currentDateTimeUtc()).toMSecsSinceEpoch()),
          m_startMs(m_endMs - qint64(qMax(1, o.days)) * Day),
          m_rng(o.seed),
          m_clock(std::make_shared<FillClock>(m_startMs)),
          m_model(o.seed, QDateTime::fromMSecsSinceEpoch(m_startMs, Qt::UTC)),
          m_pace(o.seed + 1, qBound(1, o.intervalSeconds, 3600))
    {
        m_model.setJournalLive(true);
        // Standards that age: a maser that hardly moves, rubidiums that do.
        m_model.setChannelDrift(2, 4e-14);
        m_model.setChannelDrift(3, -2.5e-14);
        m_model.setChannelDrift(4, 1e-14);
        m_model.setChannelDetected(4, true);
    }

    HistoryFill::Result run(const std::function<void(int)> &progress)
    {
        schedule();
        openStore();
        int lastPercent = -1;
        size_t next = 0;
        qint64 modelMs = m_startMs;
        for (;;) {
            const qint64 actionAt = next < m_actions.size() ? m_actions[next].atMs : Never;
            const qint64 pollAt = m_connected ? m_pace.nextPollMs() : Never;
            const qint64 attemptAt = m_searching ? m_nextAttemptMs : Never;
            const qint64 t = std::min({actionAt, pollAt, attemptAt});
            if (t > m_endMs)
                break;
            m_clock->setUtcMs(m_pace.clockMs(t));
            m_model.advance(t - modelMs);
            modelMs = t;
            if (t == actionAt)
                m_actions[next++].run(t);
            else if (t == pollAt)
                poll(t);
            else
                attempt(t);
            const int percent = int(100 * (t - m_startMs) / (m_endMs - m_startMs + 1));
            if (progress && percent != lastPercent)
                progress(lastPercent = percent);
        }
        m_store->waitUntilWritten();
        m_result.dropped += m_store->counters().dropped;
        m_store.reset();
        return m_result;
    }

private:
    void openStore()
    {
        m_store = std::make_unique<HistoryStore>(m_options.path, m_clock);
    }

    // What the computer's clock shows at `t`: the stamps of everything the
    // program records.
    qint64 stamp(qint64 t) const { return m_pace.clockMs(t); }

    void poll(qint64 t)
    {
        const int record = m_record;
        m_record = (m_record + 1) % 4;
        const quint64 number = ++m_polls[record];
        if (std::uniform_int_distribution<int>(1, UnansweredOneIn)(m_rng) == 1) {
            m_pace.unanswered(t);
            ++m_result.unanswered;
            return;
        }
        const qint64 ms = m_pace.polled(t, record);
        switch (record) {
        case 0:
            m_store->addStatus(ms, m_model.detect(), number);
            break;
        case 1:
            m_store->addStatus(ms, m_model.cmdState(), number);
            break;
        case 2:
            m_store->addStatus(ms, m_model.adjState(), number);
            break;
        default:
            m_store->addStatus(ms, m_model.varState(), number);
            break;
        }
        ++m_result.polls;
        waitNowAndThen();
    }

    // The queue holds 20000 entries; the filler waits for the writer well before.
    void waitNowAndThen()
    {
        if (++m_sinceWait >= WaitEvery) {
            m_store->waitUntilWritten();
            m_sinceWait = 0;
        }
    }

    // One attempt of the search: the line the program shows for it.
    void attempt(qint64 t)
    {
        m_store->addMessage(stamp(t), QStringLiteral("black"), QStringLiteral("Connecting to ") + Port);
        m_nextAttemptMs = t + AttemptMs + std::uniform_int_distribution<qint64>(0, 60)(m_rng);
        ++m_result.events;
        waitNowAndThen();
    }

    void search(qint64 t)
    {
        m_store->addSearchStarted(stamp(t));
        m_searching = true;
        m_nextAttemptMs = t;
        ++m_result.events;
    }

    void message(qint64 t, const QString &text, const QString &colour = QStringLiteral("black"))
    {
        m_store->addMessage(stamp(t), colour, text);
        ++m_result.events;
    }

    // The search found the instrument at `t`; the polls go on from there, in
    // a phase of their own.
    void connect(qint64 t)
    {
        const SimIdentity &id = m_model.identity();
        const QStringList info = {id.identification, id.softwareVersion, id.softwareDate, id.serialNumber,
                                  QString::number(id.comparatorVersion), QString::number(id.plisCpuVersion),
                                  QStringLiteral("%1.%2").arg(id.osfMajor).arg(id.osfMinor)};
        message(t, QStringLiteral("Connected to ") + Port + QLatin1Char(' ') + id.identification);
        m_store->addConnected(stamp(t), Port, id.identification, info);
        m_connected = true;
        m_searching = false;
        m_pace.connectedAt(t + 100);
        m_result.events += 2;
    }

    // Five polls unanswered: the link looks for the instrument again.
    void lose(qint64 t)
    {
        search(t);
        m_store->addConnectionLost(stamp(t) + 290);
        m_connected = false;
        m_result.events += 1;
    }

    // A command as the program sends it: queued, carried out, its outcome.
    void command(qint64 t, int code, bool ok, const QString &text)
    {
        m_store->addCommandQueued(stamp(t), code);
        m_pace.holdUntil(t + 300);
        message(t + 300, text, ok ? QStringLiteral("black") : QStringLiteral("red"));
        m_store->addCommandFinished(stamp(t) + 300, code, ok);
        m_result.events += 2;
    }

    void downloadJournal(qint64 t)
    {
        if (!m_connected)
            return;
        m_pace.holdUntil(t + DownloadMs);
        m_store->addCommandQueued(stamp(t), COMMAND_GET_JOURNAL);
        // The instrument keeps its last 810 records; the daily download sends
        // them all again, the history keeps each once.
        QVector<JournalRecord> records;
        const int count = m_model.journal().count();
        for (int number = qMax(1, count - 809); number <= count; ++number)
            records << JournalRecord::fromPayload(EventJournal::encode(m_model.journal().event(number),
                                                                       quint16(number)));
        m_store->addJournal(stamp(t) + DownloadMs, records);
        message(t + DownloadMs, QStringLiteral("History has been downloaded"));
        m_store->addCommandFinished(stamp(t) + DownloadMs, COMMAND_GET_JOURNAL, true);
        m_result.events += 3;
    }

    qint64 randomTime(qint64 from, qint64 to)
    {
        return std::uniform_int_distribution<qint64>(from, qMax(from, to))(m_rng);
    }

    void at(qint64 ms, std::function<void(qint64)> run) { m_actions.push_back({ms, std::move(run)}); }

    void schedule()
    {
        const qint64 span = m_endMs - m_startMs;
        at(m_startMs, [this](qint64 t) { search(t); });
        at(m_startMs + 2000, [this](qint64 t) { connect(t); });
        if (m_options.laterIntervalSeconds > 0)
            at(m_startMs + 2 * span / 3,
               [this](qint64) { m_pace.setInterval(qBound(1, m_options.laterIntervalSeconds, 3600)); });
        if (m_options.clockStepMs != 0)
            at(m_startMs + 2 * span / 5 + 4321, [this](qint64 t) { m_pace.stepClock(t, m_options.clockStepMs); });
        for (qint64 day = (m_startMs / Day + 1) * Day; day < m_endMs; day += Day)
            at(day + Hour + 30000, [this](qint64 t) { downloadJournal(t); });

        // Lost connections, a few minutes to most of an hour.
        for (int i = 0; i < qMax(1, int(span / (4 * Day))); ++i) {
            const qint64 t = randomTime(m_startMs + Hour, m_endMs - Hour);
            at(t, [this](qint64 now) {
                if (m_connected)
                    lose(now);
            });
            at(t + randomTime(3 * Minute, 40 * Minute), [this](qint64 now) {
                if (!m_connected)
                    connect(now);
            });
        }

        // Channels 2..4 lose their signal now and then and qualify again.
        for (int channel = 2; channel <= 4; ++channel) {
            for (qint64 t = m_startMs + randomTime(Day / 2, 3 * Day); t < m_endMs; t += randomTime(2 * Day, 5 * Day)) {
                at(t, [this, channel](qint64) { m_model.setChannelDetected(channel, false); });
                at(t + randomTime(20 * Minute, 4 * Hour),
                   [this, channel](qint64) { m_model.setChannelDetected(channel, true); });
            }
        }
        const qint64 error = m_startMs + span / 5;
        at(error, [this](qint64) { m_model.setChannelError(3, 0x01); });
        at(error + 30 * Minute, [this](qint64) { m_model.setChannelError(3, 0); });

        // Steering: offset and trend, a smooth correction, a reference switch.
        for (int i = 0; i < 3; ++i) {
            const float offset = float(std::uniform_real_distribution<double>(-5e-13, 5e-13)(m_rng));
            at(randomTime(m_startMs + Day, m_endMs - Hour), [this, offset](qint64 t) {
                if (!m_connected)
                    return;
                m_model.setFreqOffset(offset);
                command(t, COMMAND_SET_FREQ_OFFSET, true, QStringLiteral("Frequency offset is set"));
            });
        }
        at(m_startMs + span / 3, [this](qint64 t) {
            m_model.setFreqDrift(2e-15f);
            command(t, COMMAND_SET_FREQ_DRIFT, true, QStringLiteral("Frequency trend is set"));
        });
        const qint64 smooth = m_startMs + span / 2;
        at(smooth, [this](qint64 t) {
            m_store->addCommandQueued(stamp(t), COMMAND_SMART_CONTROL);
            message(t, QStringLiteral("Smooth steering is started"));
        });
        for (int step = 1; step <= 6; ++step)
            at(smooth + step * 10 * Minute, [this, step](qint64) { m_model.setFreqOffset(float(step) * 1e-13f); });
        at(smooth + 61 * Minute, [this](qint64 t) {
            message(t, QStringLiteral("Smooth steering is finished"));
            m_store->addCommandFinished(stamp(t), COMMAND_SMART_CONTROL, true);
        });
        at(m_startMs + 2 * span / 5, [this](qint64 t) { changeReference(t, '2'); });

        // Synchronisation off for a while, then on; meanwhile the instrument
        // refuses a new reference.
        const qint64 syncOff = m_startMs + 3 * span / 5;
        at(syncOff, [this](qint64 t) {
            m_model.setSync(false);
            command(t, COMMAND_SET_SYNC_STATUS, true, QStringLiteral("Synchronization is off"));
        });
        at(syncOff + 10 * Minute, [this](qint64 t) { changeReference(t, '3'); });
        at(syncOff + 20 * Minute, [this](qint64 t) {
            m_model.setSync(true);
            command(t, COMMAND_SET_SYNC_STATUS, true, QStringLiteral("Synchronization is on"));
        });

        // The program closed and started again; it found the instrument two
        // minutes later.
        at(m_startMs + 7 * span / 10, [this](qint64 t) {
            m_store->waitUntilWritten();
            m_result.dropped += m_store->counters().dropped;
            m_store.reset();
            openStore();
            m_connected = false;
            search(t);
        });
        at(m_startMs + 7 * span / 10 + 2 * Minute, [this](qint64 t) {
            if (!m_connected)
                connect(t);
        });

        std::stable_sort(m_actions.begin(), m_actions.end(),
                         [](const Action &a, const Action &b) { return a.atMs < b.atMs; });
    }

    void changeReference(qint64 t, char channel)
    {
        const bool ok = m_model.setMaster(channel) == '0';
        command(t, COMMAND_MASTER_CHAN, ok,
                ok ? QStringLiteral("Reference channel is changed") : QStringLiteral("Reference channel is not changed"));
    }

    HistoryFill::Options m_options;
    const qint64 m_endMs;
    const qint64 m_startMs;
    std::mt19937_64 m_rng;
    std::shared_ptr<FillClock> m_clock;
    InstrumentModel m_model;
    LinkPace m_pace;
    std::unique_ptr<HistoryStore> m_store;
    std::vector<Action> m_actions;
    bool m_connected = false;
    bool m_searching = false;
    qint64 m_nextAttemptMs = 0;
    int m_record = 0;         // the link's next record, on in turn across connections
    quint64 m_polls[4] = {};  // polls sent per record
    int m_sinceWait = 0;
    HistoryFill::Result m_result;
};

}  // namespace

HistoryFill::Result HistoryFill::run(const Options &options, const std::function<void(int)> &progress)
{
    return Filler(options).run(progress);
}
