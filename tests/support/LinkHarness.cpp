#include "LinkHarness.h"

#include "link/COMThread.h"

LinkHarness::LinkHarness()
    : m_clock(std::make_shared<SteppedClock>()),
      m_line(std::make_shared<FakeLine>(*m_clock)),
      m_factory(std::make_shared<TracingPortFactory>(std::make_shared<FakePortFactory>(m_line),
                                                     *m_clock)),
      m_link(new COMThread(m_factory, m_clock))
{
    m_link->moveToThread(&m_thread);
    connect(&m_thread, &QThread::started, m_link, &COMThread::process);
    connect(m_link, &COMThread::finished, &m_thread, &QThread::quit, Qt::DirectConnection);
    recordSignals();
}

LinkHarness::~LinkHarness()
{
    finish();
    delete m_link;
}

void LinkHarness::start()
{
    m_clock->runTo(0, 0);  // park the loop at its first sleep
    m_thread.start();
}

bool LinkHarness::finish()
{
    if (!m_thread.isRunning())
        return true;
    m_link->stop();
    m_clock->release();
    return m_thread.wait(20000);
}

void LinkHarness::record(const QString &name, const QStringList &args)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_events.append({name, args, m_clock->monotonicMs()});
}

QList<LinkHarness::Event> LinkHarness::events() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events;
}

QList<LinkHarness::Event> LinkHarness::events(const QString &name) const
{
    QList<Event> out;
    const QList<Event> all = events();
    for (const Event &e : all) {
        if (e.name == name)
            out.append(e);
    }
    return out;
}

QStringList LinkHarness::texts(const QString &name) const
{
    QStringList out;
    const QList<Event> matching = events(name);
    for (const Event &e : matching)
        out.append(e.args.value(0));
    return out;
}

void LinkHarness::recordSignals()
{
    const auto direct = Qt::DirectConnection;
    COMThread *l = m_link;
    const auto plain = [this, l, direct](void (COMThread::*signal)(), const char *name) {
        connect(l, signal, this, [this, name] { record(QLatin1String(name)); }, direct);
    };
    plain(&COMThread::cmdStateRcvd, "cmdStateRcvd");
    plain(&COMThread::adjStateRcvd, "adjStateRcvd");
    plain(&COMThread::detectRcvd, "detectRcvd");
    plain(&COMThread::avarStateRcvd, "avarStateRcvd");
    plain(&COMThread::newTimeDifferenceIsReady, "newTimeDifferenceIsReady");
    plain(&COMThread::currentOffset_1PPS_isReady, "currentOffset_1PPS_isReady");
    plain(&COMThread::aveStateRcvd, "aveStateRcvd");
    plain(&COMThread::updateCurrentFreqLimit, "updateCurrentFreqLimit");
    plain(&COMThread::noConnection, "noConnection");
    plain(&COMThread::connected, "connected");
    plain(&COMThread::finished, "finished");
    plain(&COMThread::searchStarted, "searchStarted");
    connect(l, &COMThread::pollAnswered, this,
            [this](const PollReading &r) {
                record("pollAnswered", {QString::number(r.record), r.utc.toString(Qt::ISODateWithMs)});
            },
            direct);
    connect(l, &COMThread::answered, this,
            [this](const QDateTime &utc) { record("answered", {utc.toString(Qt::ISODateWithMs)}); }, direct);
    connect(l, &COMThread::countersChanged, this,
            [this](const LinkCounters &c) {
                record("countersChanged", {QString::number(c.polls), QString::number(c.pollTimeouts),
                                           QString::number(c.rejectedAnswers), QString::number(c.connections)});
            },
            direct);
    connect(l, &COMThread::commandFinished, this,
            [this](int code, bool ok) {
                record("commandFinished", {QString::number(code), ok ? "ok" : "failed"});
            },
            direct);
    connect(l, &COMThread::journalRead, this,
            [this](const JournalReading &r) {
                record("journalRead", {QString::number(r.outcome), QString::number(r.expected),
                                       QString::number(r.records.size())});
            },
            direct);

    const auto line = [this, l, direct](void (COMThread::*signal)(const QString &, const QString &),
                                        const char *name) {
        connect(l, signal, this,
                [this, name](const QString &text, const QString &colour) {
                    record(QLatin1String(name), {text, colour});
                },
                direct);
    };
    line(&COMThread::debugInfo, "debugInfo");
    line(&COMThread::windowInfo, "windowInfo");

    const auto count = [this, l, direct](void (COMThread::*signal)(int), const char *name) {
        connect(l, signal, this, [this, name](int n) { record(QLatin1String(name), {QString::number(n)}); },
                direct);
    };
    count(&COMThread::setNumberOfJournalRec, "setNumberOfJournalRec");
    count(&COMThread::setNumberOfReadyRec, "setNumberOfReadyRec");

    connect(l, &COMThread::setWinTitle, this, [this](const QString &item) { record("setWinTitle", {item}); },
            direct);
    connect(l, &COMThread::updPorts, this,
            [this](const QStringList &items, int index) {
                record("updPorts", QStringList{QString::number(index)} + items);
            },
            direct);
    connect(l, &COMThread::com_status, this,
            [this](int total, int done) {
                record("com_status", {QString::number(total), QString::number(done)});
            },
            direct);
    connect(l, &COMThread::setDeviceInfo, this,
            [this](const QString &a, const QString &b, const QString &c, const QString &d,
                   const QString &e, const QString &f, const QString &g) {
                record("setDeviceInfo", {a, b, c, d, e, f, g});
            },
            direct);
    connect(l, &COMThread::finished, this, [this] { m_clock->markDone(); }, direct);
}
