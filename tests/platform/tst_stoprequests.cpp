#include "platform/StopRequests.h"

#include <QtTest>

#include <csignal>

// The system's requests to stop, sent to this process for real, arrive as
// one stopRequested() each in the event loop.
class tst_StopRequests : public QObject
{
    Q_OBJECT

private slots:
    void signal_becomesOneRequest_data();
    void signal_becomesOneRequest();
};

void tst_StopRequests::signal_becomesOneRequest_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM (systemctl stop)") << SIGTERM;
    QTest::newRow("SIGINT (Ctrl+C)") << SIGINT;
}

void tst_StopRequests::signal_becomesOneRequest()
{
    QFETCH(int, signal);
    const std::unique_ptr<StopRequests> stops = StopRequests::forThisSystem();
    QSignalSpy requests(stops.get(), &StopRequests::stopRequested);
    QCOMPARE(std::raise(signal), 0);
    QTRY_COMPARE(requests.count(), 1);
}

QTEST_GUILESS_MAIN(tst_StopRequests)
#include "tst_stoprequests.moc"
