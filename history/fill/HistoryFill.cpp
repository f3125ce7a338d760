#include "HistoryFill.h"

#include "FillClock.h"

#include "history/HistoryStore.h"
#include "link/CommandParameters.h"
#include "simulator/InstrumentModel.h"

#include <QVector>

#include <algorithm>
#include <memory>
#include <random>

namespace {

constexpr qint64 Minute = 60000;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;
// The queue holds 20000 entries; the filler waits for the writer well before.
constexpr int WaitEvery = 8000;

const QString Port = QStringLiteral("/dev/ttyUSB0");

// Something that happens at a time, in the order of the schedule; it runs
// at the first poll at or after that time and is told that poll's time.
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
          m_stepMs(qint64(qBound(1, o.intervalSeconds, 3600)) * 1000),
          m_rng(o.seed),
          m_clock(std::make_shared<FillClock>(m_startMs)),
          m_model(o.seed, QDateTime::fromMSecsSinceEpoch(m_startMs, Qt::UTC))
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
        qint64 poll = 0;
        for (qint64 t = m_startMs; t <= m_endMs; t += m_stepMs) {
            m_clock->setUtcMs(t);
            m_model.advance(m_stepMs);
            while (next < m_actions.size() && m_actions[next].atMs <= t)
                m_actions[next++].run(t);
            if (m_connected)
                addPoll(t, poll++);
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

    void addPoll(qint64 t, qint64 poll)
    {
        switch (poll % 4) {
        case 0:
            m_store->addStatus(t, m_model.detect());
            break;
        case 1:
            m_store->addStatus(t, m_model.cmdState());
            break;
        case 2:
            m_store->addStatus(t, m_model.adjState());
            break;
        default:
            m_store->addStatus(t, m_model.varState());
            break;
        }
        ++m_result.polls;
        if (++m_sinceWait >= WaitEvery) {
            m_store->waitUntilWritten();
            m_sinceWait = 0;
        }
    }

    void message(qint64 t, const QString &text, const QString &colour = QStringLiteral("black"))
    {
        m_store->addMessage(t, colour, text);
        ++m_result.events;
    }

    // The search found the instrument at `t`; the polls go on from there.
    void connect(qint64 t)
    {
        m_store->addSearchStarted(t - 2000);
        const SimIdentity &id = m_model.identity();
        const QStringList info = {id.identification, id.softwareVersion, id.softwareDate, id.serialNumber,
                                  QString::number(id.comparatorVersion), QString::number(id.plisCpuVersion),
                                  QStringLiteral("%1.%2").arg(id.osfMajor).arg(id.osfMinor)};
        m_store->addConnected(t, Port, id.identification, info);
        message(t, QStringLiteral("Connected to ") + Port + QLatin1Char(' ') + id.identification);
        m_connected = true;
        m_result.events += 2;
    }

    void lose(qint64 t)
    {
        m_store->addConnectionLost(t);
        message(t, QStringLiteral("No answer from the device"), QStringLiteral("red"));
        m_store->addSearchStarted(t + 1);
        m_connected = false;
        m_result.events += 2;
    }

    // A command as the program sends it: queued, carried out, its outcome.
    void command(qint64 t, int code, bool ok, const QString &text)
    {
        m_store->addCommandQueued(t, code);
        message(t + 300, text, ok ? QStringLiteral("black") : QStringLiteral("red"));
        m_store->addCommandFinished(t + 300, code, ok);
        m_result.events += 2;
    }

    void downloadJournal(qint64 t)
    {
        if (!m_connected)
            return;
        m_store->addCommandQueued(t, COMMAND_GET_JOURNAL);
        // The instrument keeps its last 810 records; the daily download sends
        // them all again, the history keeps each once.
        QVector<JournalRecord> records;
        const int count = m_model.journal().count();
        for (int number = qMax(1, count - 809); number <= count; ++number)
            records << JournalRecord::fromPayload(EventJournal::encode(m_model.journal().event(number),
                                                                       quint16(number)));
        m_store->addJournal(t + 4000, records);
        message(t + 4000, QStringLiteral("History has been downloaded"));
        m_store->addCommandFinished(t + 4000, COMMAND_GET_JOURNAL, true);
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
        at(m_startMs + 2000, [this](qint64 t) { connect(t); });
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
            m_store->addCommandQueued(t, COMMAND_SMART_CONTROL);
            message(t, QStringLiteral("Smooth steering is started"));
        });
        for (int step = 1; step <= 6; ++step)
            at(smooth + step * 10 * Minute, [this, step](qint64) { m_model.setFreqOffset(float(step) * 1e-13f); });
        at(smooth + 61 * Minute, [this](qint64 t) {
            message(t, QStringLiteral("Smooth steering is finished"));
            m_store->addCommandFinished(t, COMMAND_SMART_CONTROL, true);
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
        at(m_startMs + 7 * span / 10, [this](qint64) {
            m_store->waitUntilWritten();
            m_result.dropped += m_store->counters().dropped;
            m_store.reset();
            openStore();
            m_connected = false;
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
    const qint64 m_stepMs;
    std::mt19937_64 m_rng;
    std::shared_ptr<FillClock> m_clock;
    InstrumentModel m_model;
    std::unique_ptr<HistoryStore> m_store;
    std::vector<Action> m_actions;
    bool m_connected = false;
    int m_sinceWait = 0;
    HistoryFill::Result m_result;
};

}  // namespace

HistoryFill::Result HistoryFill::run(const Options &options, const std::function<void(int)> &progress)
{
    return Filler(options).run(progress);
}
