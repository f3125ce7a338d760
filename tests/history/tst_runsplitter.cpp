#include "history/RunSplitter.h"

#include <QtTest>

#include <random>

namespace {

constexpr qint64 T0 = 1772409600000;  // 2026-03-02 00:00 UTC

// How the link stamped reading i of a series read every `intervalMs`.
enum class Clock { Ideal, Jitter, LatePolls, PhaseMoves, Missing, SetBack, NudgedForward, SetForward, Interval };

QVector<Sample> stamped(Clock clock, int count)
{
    std::mt19937 rng(24);
    std::uniform_int_distribution<int> jitter(0, 15);
    QVector<Sample> samples;
    qint64 phase = 0;
    for (int i = 0; i < count; ++i) {
        qint64 intervalMs = 4000;
        qint64 ms = T0 + i * intervalMs;
        switch (clock) {
        case Clock::Ideal:
            break;
        case Clock::Jitter:
            ms += jitter(rng);
            break;
        case Clock::LatePolls:
            ms += i % 7 == 3 ? 1000 : jitter(rng);  // a quarter of the interval
            break;
        case Clock::PhaseMoves:
            // Polls delayed by commands: the schedule goes on from the late one.
            phase += i % 50 == 49 ? 1000 : 0;
            ms += phase + jitter(rng);
            break;
        case Clock::Missing:
            if (i == 100)
                continue;
            break;
        case Clock::SetBack:
            ms -= i >= 100 ? 10003 : 0;
            break;
        case Clock::NudgedForward:
            ms += i >= 100 ? 300 : 0;
            break;
        case Clock::SetForward:
            ms += i >= 100 ? 30000 : 0;
            break;
        case Clock::Interval:
            ms = i < 100 ? T0 + i * 40000 : T0 + 99 * 40000 + (i - 99) * 4000;
            break;
        }
        samples << Sample{ms, double(i)};  // the value says which reading it is
    }
    std::sort(samples.begin(), samples.end(), [](const Sample &a, const Sample &b) { return a.timeMs < b.timeMs; });
    return samples;
}

}  // namespace

class tst_RunSplitter : public QObject
{
    Q_OBJECT

private slots:
    void untidyStamps_splitOnlyAtGaps_data();
    void untidyStamps_splitOnlyAtGaps();
    void breakBetweenReadings_endsTheRun();
};

void tst_RunSplitter::untidyStamps_splitOnlyAtGaps_data()
{
    QTest::addColumn<int>("clock");
    QTest::addColumn<QVector<qint64>>("intervals");  // of the runs of more than one reading
    const QVector<qint64> one = {4000};
    QTest::newRow("ideal") << int(Clock::Ideal) << one;
    QTest::newRow("stamps jitter by 0-15 ms") << int(Clock::Jitter) << one;
    QTest::newRow("polls late by a quarter of the interval") << int(Clock::LatePolls) << one;
    QTest::newRow("poll phase moves by 1 s four times") << int(Clock::PhaseMoves) << one;
    QTest::newRow("a reading missing") << int(Clock::Missing) << QVector<qint64>{4000, 4000};
    QTest::newRow("clock set back by 10 s: the two sides interleave")
        << int(Clock::SetBack) << QVector<qint64>{4000, 4000};
    QTest::newRow("clock set forward by 0.3 s") << int(Clock::NudgedForward) << one;
    QTest::newRow("clock set forward by 30 s") << int(Clock::SetForward) << QVector<qint64>{4000, 4000};
    QTest::newRow("MonitorInterval from 10 s to 1 s") << int(Clock::Interval) << QVector<qint64>{40000, 4000};
}

// Every reading lands in exactly one run, and a run holds readings that
// follow each other with none missing.
void tst_RunSplitter::untidyStamps_splitOnlyAtGaps()
{
    QFETCH(int, clock);
    QFETCH(QVector<qint64>, intervals);
    const QVector<Sample> samples = stamped(Clock(clock), 400);
    const QVector<ReadingRun> runs = RunSplitter::split(samples, {});
    int readings = 0;
    QVector<qint64> found;
    for (const ReadingRun &run : runs) {
        readings += run.y.size();
        for (int i = 1; i < run.y.size(); ++i)
            QCOMPARE(run.y.at(i), run.y.at(i - 1) + 1);
        if (run.y.size() > 1)
            found << run.intervalMs;
    }
    QCOMPARE(readings, samples.size());
    QCOMPARE(found, intervals);
}

void tst_RunSplitter::breakBetweenReadings_endsTheRun()
{
    const QVector<Sample> samples = stamped(Clock::Jitter, 200);
    const QVector<ReadingRun> runs = RunSplitter::split(samples, {T0 + 120 * 4000 - 1500});
    QCOMPARE(runs.size(), 2);
    QCOMPARE(runs.at(0).y.size(), 120);
    QCOMPARE(runs.at(1).firstMs, samples.at(120).timeMs);
}

QTEST_APPLESS_MAIN(tst_RunSplitter)
#include "tst_runsplitter.moc"
