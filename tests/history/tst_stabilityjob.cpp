#include "history/HistoryReader.h"
#include "history/HistoryStore.h"
#include "history/StabilityJob.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <random>

namespace {

const qint64 T0 = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
constexpr qint64 Second = 1000;

enum class Stamps { Ideal, Untidy };

// One ADJ_STATE reading: when the link stamped it, channel 1's offset, and
// whether channel 2 had a signal (it reports 0 without).
struct Polled {
    qint64 ms;
    float offset;
    bool signal;
};

// The readings every `intervalS` seconds from `fromMs`: ideal stamps, or
// stamps as the link makes them: 0-15 ms late, every ninth poll late by up
// to a quarter of the interval, and twice the poll phase moved by a second
// (delayed polls the schedule goes on from).
QVector<Polled> readings(qint64 fromMs, int count, int intervalS, Stamps stamps, unsigned seed = 5)
{
    std::mt19937_64 rng(seed);
    std::mt19937_64 clock(seed + 1);
    std::normal_distribution<double> noise(0.0, 1e-12);
    std::uniform_int_distribution<int> jitter(0, 15);
    std::uniform_int_distribution<int> late(0, intervalS * 250);
    QVector<Polled> list;
    qint64 phase = 0;
    for (int i = 0; i < count; ++i) {
        qint64 ms = fromMs + i * intervalS * Second;
        const float offset = float(3e-12 + noise(rng));
        if (stamps == Stamps::Untidy) {
            if (i == count / 3 || i == 2 * count / 3)
                phase += Second;
            ms += phase + (i % 9 == 4 ? late(clock) : jitter(clock));
        }
        list << Polled{ms, offset, true};
    }
    return list;
}

// Through the program's store, as the link polls at MonitorInterval 1: DETECT,
// ADJ_CMD_STATE, ADJ_STATE, VAR_STRUCT a second apart.
void record(const QString &path, const QVector<Polled> &list)
{
    HistoryStore store(path);
    store.addConnected(list.first().ms - 3 * Second, QStringLiteral("COM3"), QStringLiteral("KSR-583"));
    for (const Polled &r : list) {
        DETECT detect;
        detect.chan[0] = 1;
        detect.chan[1] = r.signal ? 1 : 0;
        store.addStatus(r.ms - 2 * Second, detect);
        ADJ_CMD_STATE cmd;
        cmd.syncStatus = 1;
        store.addStatus(r.ms - Second, cmd);
        ADJ_STATE adj;
        adj.chanOffset[0] = r.offset;
        adj.chanOffset[1] = r.signal ? r.offset : 0.0f;
        store.addStatus(r.ms, adj);
        store.addStatus(r.ms + Second, VAR_STRUCT());
    }
    QVERIFY(store.waitUntilWritten());
}

StabilityResult analysed(const QString &path, Series::Id series, qint64 intervalMs = 0)
{
    HistoryReader reader(path);
    StabilityResult result;
    if (!reader.open())
        return result;
    StabilityReadings read;
    StabilityJob::read(reader, series, {T0 - 3600 * Second, T0 + 86400 * Second}, {}, &read);
    StabilityRequest request;
    request.series = series;
    request.intervalMs = intervalMs;
    return StabilityJob::analyse(read, request);
}

QVector<QVector<double>> values(const QVector<Polled> &list)
{
    QVector<double> y;
    for (const Polled &r : list)
        y << double(r.offset);
    return {y};
}

void compare(const QVector<StabilityCurve> &found, const QVector<StabilityCurve> &expected)
{
    QCOMPARE(found.size(), expected.size());
    for (int c = 0; c < found.size(); ++c) {
        QCOMPARE(found.at(c).points.size(), expected.at(c).points.size());
        QVERIFY(found.at(c).points.size() > 4);
        for (int i = 0; i < found.at(c).points.size(); ++i) {
            const StabilityPoint &a = found.at(c).points.at(i);
            const StabilityPoint &b = expected.at(c).points.at(i);
            QCOMPARE(a.tau, b.tau);
            QCOMPARE(a.terms, b.terms);
            for (const auto &pair : {std::make_pair(a.deviation, b.deviation), std::make_pair(a.low, b.low),
                                     std::make_pair(a.high, b.high)})
                QVERIFY2(std::fabs(pair.first / pair.second - 1) < 1e-12,
                         qPrintable(QStringLiteral("%1: %2 %3").arg(a.tau).arg(pair.first).arg(pair.second)));
        }
    }
}

}  // namespace

class tst_StabilityJob : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void untidyStamps_giveTheDeviationsOfIdealOnes();
    void intervalChange_analysesEachPartAtItsOwnTau0();
    void readingsWithoutSignal_areLeftOutAndCounted();

private:
    QString path(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_StabilityJob::untidyStamps_giveTheDeviationsOfIdealOnes()
{
    record(path("ideal.sqlite"), readings(T0, 3000, 4, Stamps::Ideal));
    record(path("untidy.sqlite"), readings(T0, 3000, 4, Stamps::Untidy));
    const StabilityResult ideal = analysed(path("ideal.sqlite"), Series::Offset1);
    const StabilityResult untidy = analysed(path("untidy.sqlite"), Series::Offset1);
    for (const StabilityResult *r : {&ideal, &untidy}) {
        QCOMPARE(r->intervalMs, qint64(4000));
        QCOMPARE(r->runs, 1);
        QCOMPARE(r->used, qint64(3000));
        QCOMPARE(r->curves.size(), 4);
    }
    compare(untidy.curves, ideal.curves);
}

void tst_StabilityJob::intervalChange_analysesEachPartAtItsOwnTau0()
{
    // MonitorInterval 10, then 1: readings every 40 s, then every 4 s.
    const QVector<Polled> slow = readings(T0, 1000, 40, Stamps::Untidy, 7);
    const QVector<Polled> fast = readings(slow.last().ms + 4 * Second, 1500, 4, Stamps::Untidy, 8);
    record(path("both.sqlite"), slow + fast);

    const StabilityResult byTime = analysed(path("both.sqlite"), Series::Offset1);
    QCOMPARE(byTime.intervalMs, qint64(40000));  // 40 000 s against 6 000 s
    QCOMPARE(byTime.shares.size(), 2);
    QCOMPARE(byTime.shares.at(1).intervalMs, qint64(4000));
    QCOMPARE(byTime.otherIntervals, qint64(1500));
    compare(byTime.curves, StabilityAnalysis::run(values(slow), 40, {}));

    const StabilityResult chosen = analysed(path("both.sqlite"), Series::Offset1, 4000);
    QCOMPARE(chosen.used, qint64(1500));
    compare(chosen.curves, StabilityAnalysis::run(values(fast), 4, {}));
}

void tst_StabilityJob::readingsWithoutSignal_areLeftOutAndCounted()
{
    QVector<Polled> list = readings(T0, 3000, 4, Stamps::Untidy);
    for (int i = 1200; i < 1500; ++i)
        list[i].signal = false;
    record(path("lost.sqlite"), list);

    const StabilityResult channel1 = analysed(path("lost.sqlite"), Series::Offset1);
    const StabilityResult channel2 = analysed(path("lost.sqlite"), Series::Offset2);
    QCOMPARE(channel1.noSignal, qint64(0));
    // The 300 without a signal, and those since the last stored DETECT that
    // still showed it (the store keeps DETECT at least every ten minutes).
    QVERIFY2(channel2.noSignal >= 300 && channel2.noSignal <= 300 + 150 + 1, qPrintable(QString::number(channel2.noSignal)));
    QCOMPARE(channel2.used + channel2.noSignal, channel2.read);
    QCOMPARE(channel2.runs, 2);
    for (const ReadingRun &run : channel2.analysed)
        QVERIFY(!run.y.contains(0.0));
    // With the zeros in, the long taus would read a hundred times higher.
    const StabilityPoint &a = channel1.curves.first().points.at(6);
    const StabilityPoint &b = channel2.curves.first().points.at(6);
    QCOMPARE(a.tau, b.tau);
    QVERIFY2(b.deviation < 1.5 * a.deviation, qPrintable(QStringLiteral("%1 %2").arg(a.deviation).arg(b.deviation)));
}

QTEST_MAIN(tst_StabilityJob)
#include "tst_stabilityjob.moc"
