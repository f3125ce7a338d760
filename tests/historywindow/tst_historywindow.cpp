#include "historywindow/HistoryWindow.h"
#include "historywindow/StabilityPage.h"

#include "dialogs/SaveFileChooser.h"
#include "history/HistoryWriter.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const qint64 T0 = QDateTime(QDate(2026, 3, 2), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
constexpr qint64 Second = 1000;
// One poll a second, ADJ_STATE and VAR_STRUCT in turn.
constexpr int Polls = 400;

// Values that need all nine digits to come back as the same float.
float valueOf(int poll, int series)
{
    return float(1e-12 * std::sin(0.37 * poll + series) + 1e-15 * series);
}

}  // namespace

class tst_HistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shownRange_exportsEveryStoredValueExactly();
    void stability_reachesAsFarAsEachStatisticHasTerms();
    void stabilityTable_isExportedWithItsColumnsNamed();
    void hidingTheWindow_dropsTheStabilityBeingComputed();
    void plots_areSavedInTheFormatOfTheirName_data();
    void plots_areSavedInTheFormatOfTheirName();
    void datesInTheWrongOrder_sayWhyAndLoadNothing();

private:
    template <typename T>
    T *child(const char *name) const
    {
        T *found = m_window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no %s", name);
        return found;
    }
    void show(TimeRange range);
    void showStability();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HistoryWindow> m_window;
};

void tst_HistoryWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString path = m_dir->filePath(QStringLiteral("history.sqlite"));
    std::vector<HistoryItem> items = {{T0, HistoryEvent{EventKind::Connected, 0, QStringLiteral("COM3"), {}}}};
    for (int i = 0; i < Polls; ++i) {
        if (i % 2 == 0) {
            ADJ_STATE adj;
            adj.freqOffset = valueOf(i, Series::FreqOffset);
            adj.freqDrift = valueOf(i, Series::FreqTrend);
            for (int n = 1; n <= 4; ++n)
                adj.chanOffset[n - 1] = valueOf(i, Series::offset(n));
            items.push_back({T0 + i * Second, adj});
        } else {
            VAR_STRUCT var;
            for (int n = 1; n <= 4; ++n)
                var.value[2 * (n - 1)] = std::abs(valueOf(i, Series::adev(n)));
            items.push_back({T0 + i * Second, var});
        }
    }
    HistoryWriter writer(path);
    QCOMPARE(writer.open(T0), HistoryConnection::Status::Open);
    QVERIFY2(writer.write(items), qPrintable(writer.reason()));
    writer.close(T0 + Polls * Second);

    m_window = std::make_unique<HistoryWindow>(path, m_dir->filePath(QStringLiteral("fconn583.ini")));
}

void tst_HistoryWindow::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

void tst_HistoryWindow::show(TimeRange range)
{
    QSignalSpy shown(m_window.get(), &HistoryWindow::viewShown);
    m_window->showRange(HistoryRange::BetweenDates, range);
    m_window->show();
    QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 20000);
    QCOMPARE(m_window->shownRange().fromMs, range.fromMs);
    QCOMPARE(m_window->shownRange().toMs, range.toMs);
}

void tst_HistoryWindow::shownRange_exportsEveryStoredValueExactly()
{
    const TimeRange range{T0 + 100 * Second, T0 + 300 * Second};
    show(range);

    const QString csv = m_dir->filePath(QStringLiteral("shown.csv"));
    SaveFileChooser::setNextAnswer(csv);
    QSignalSpy saved(m_window.get(), &HistoryWindow::saved);
    QTest::mouseClick(child<QPushButton>("exportCsvButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(saved.count(), 1, 20000);
    QCOMPARE(saved.at(0).at(1).toString(), QString());

    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.takeFirst().startsWith("time_utc,freq_offset,freq_trend,"));
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.size(), 200);  // the readings of the shown range, none outside it
    for (const QByteArray &line : lines) {
        const QList<QByteArray> cells = line.trimmed().split(',');
        QCOMPARE(cells.size(), 1 + Series::Count);
        const QDateTime time = QDateTime::fromString(QString::fromLatin1(cells.at(0)), Qt::ISODateWithMs);
        const int poll = int((time.toMSecsSinceEpoch() - T0) / Second);
        QVERIFY(range.contains(time.toMSecsSinceEpoch()));
        for (int s = 0; s < Series::Count; ++s) {
            const bool carried = (s < Series::Adev1) == (poll % 2 == 0);
            const QByteArray &cell = cells.at(1 + s);
            QCOMPARE(cell.isEmpty(), !carried);
            if (!carried)
                continue;
            const float stored = s < Series::Adev1 ? valueOf(poll, s) : std::abs(valueOf(poll, s));
            QCOMPARE(float(cell.toDouble()), stored);
        }
    }
}

void tst_HistoryWindow::showStability()
{
    QSignalSpy computed(m_window.get(), &HistoryWindow::stabilityShown);
    child<QTabWidget>("tabs")->setCurrentWidget(child<QWidget>("stabilityTab"));
    QTRY_COMPARE_WITH_TIMEOUT(computed.count(), 1, 20000);
}

void tst_HistoryWindow::stability_reachesAsFarAsEachStatisticHasTerms()
{
    show({T0, T0 + Polls * Second});
    showStability();
    QSignalSpy computed(m_window.get(), &HistoryWindow::stabilityShown);
    child<QCheckBox>("mdevCheck")->setChecked(true);
    QTRY_COMPARE_WITH_TIMEOUT(computed.count(), 1, 20000);

    // An offset every other second: 200 readings at 2 s; OADEV has terms up
    // to m = 100, MDEV to 67, both end at the octave 64. Each value lies
    // inside its interval.
    const StabilityResult &result = child<StabilityPage>("stabilityPage")->result();
    QCOMPARE(result.intervalMs, qint64(2000));
    QCOMPARE(result.used, qint64(Polls / 2));
    QCOMPARE(result.curves.size(), 2);
    QCOMPARE(result.curves.at(0).points.first().tau, 2.0);
    QCOMPARE(result.curves.at(0).points.last().m, qint64(64));
    QCOMPARE(result.curves.at(1).points.last().m, qint64(64));
    for (const StabilityCurve &curve : result.curves) {
        for (const StabilityPoint &p : curve.points)
            QVERIFY(p.low < p.deviation && p.deviation < p.high);
    }
    QVERIFY(child<QLabel>("stabilityInfoLabel")->text().startsWith(QStringLiteral("τ0 = 2 s")));
}

void tst_HistoryWindow::stabilityTable_isExportedWithItsColumnsNamed()
{
    show({T0, T0 + Polls * Second});
    showStability();
    const QString csv = m_dir->filePath(QStringLiteral("stability.csv"));
    SaveFileChooser::setNextAnswer(csv);
    QTest::mouseClick(child<QPushButton>("exportTableButton"), Qt::LeftButton);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.first(), QByteArray("tau_s,oadev,oadev_low,oadev_high,oadev_n\r"));
    QCOMPARE(lines.size(), 2 + 7);  // m = 1 .. 64, and the end of the last line

    const QString series = m_dir->filePath(QStringLiteral("series.txt"));
    SaveFileChooser::setNextAnswer(series);
    QSignalSpy saved(m_window.get(), &HistoryWindow::saved);
    QTest::mouseClick(child<QPushButton>("exportSeriesButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(saved.count(), 1, 20000);
    QFile text(series);
    QVERIFY(text.open(QIODevice::ReadOnly));
    QCOMPARE(text.readAll().count('\n'), Polls / 2);
}

void tst_HistoryWindow::hidingTheWindow_dropsTheStabilityBeingComputed()
{
    show({T0, T0 + Polls * Second});
    QSignalSpy computed(m_window.get(), &HistoryWindow::stabilityShown);
    child<QTabWidget>("tabs")->setCurrentWidget(child<QWidget>("stabilityTab"));
    m_window->hide();
    QTest::qWait(300);
    QCOMPARE(computed.count(), 0);
    // Shown again, it computes what it dropped.
    m_window->show();
    QTRY_COMPARE_WITH_TIMEOUT(computed.count(), 1, 20000);
}

void tst_HistoryWindow::plots_areSavedInTheFormatOfTheirName_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("png") << "plots.png" << "plots.png" << QByteArray("\x89PNG");
    QTest::newRow("pdf") << "plots.PDF" << "plots.PDF" << QByteArray("%PDF");
    QTest::newRow("no suffix is a png") << "plots" << "plots.png" << QByteArray("\x89PNG");
}

void tst_HistoryWindow::plots_areSavedInTheFormatOfTheirName()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QByteArray, magic);
    show({T0, T0 + Polls * Second});
    SaveFileChooser::setNextAnswer(m_dir->filePath(chosen));
    QSignalSpy saved(m_window.get(), &HistoryWindow::saved);
    QTest::mouseClick(child<QPushButton>("savePlotsButton"), Qt::LeftButton);
    QCOMPARE(saved.count(), 1);
    QCOMPARE(saved.at(0).at(1).toString(), QString());
    QFile file(m_dir->filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(magic.size()) == magic);
}

void tst_HistoryWindow::datesInTheWrongOrder_sayWhyAndLoadNothing()
{
    show({T0, T0 + Polls * Second});
    QSignalSpy shown(m_window.get(), &HistoryWindow::viewShown);
    child<QDateTimeEdit>("fromEdit")->setDateTime(QDateTime::fromMSecsSinceEpoch(T0 + 3600 * Second, Qt::UTC));
    child<QDateTimeEdit>("toEdit")->setDateTime(QDateTime::fromMSecsSinceEpoch(T0, Qt::UTC));
    QTest::mouseClick(child<QPushButton>("showButton"), Qt::LeftButton);
    QVERIFY(child<QLabel>("statusLabel")->text().contains(QLatin1String("must come after")));
    QTest::qWait(200);
    QCOMPARE(shown.count(), 0);
}

QTEST_MAIN(tst_HistoryWindow)
#include "tst_historywindow.moc"
