#include "mainwindow/AttachOffer.h"

#include "access/LoginGuard.h"
#include "dialogs/MessageBox.h"
#include "remote/ServiceServer.h"
#include "remote/ServiceSettings.h"
#include "tests/remote/ServiceRig.h"
#include "tests/support/VirtualClock.h"

#include <QLocalServer>
#include <QtTest>

class tst_AttachOffer : public QObject
{
    Q_OBJECT

private slots:
    void folderInUse_offersToAttachOnlyWhereAServiceAnswers_data();
    void folderInUse_offersToAttachOnlyWhereAServiceAnswers();
};

void tst_AttachOffer::folderInUse_offersToAttachOnlyWhereAServiceAnswers_data()
{
    QTest::addColumn<bool>("serviceRuns");
    QTest::addColumn<int>("operatorAnswers");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("said");
    const QString question = "A service runs there. Open a window attached to it?";
    QTest::newRow("service, attach") << true << int(QMessageBox::Yes) << int(AttachOffer::Answer::Attach) << question;
    QTest::newRow("service, declined") << true << int(QMessageBox::No) << int(AttachOffer::Answer::Declined) << question;
    // A one-process window holds the folder: nothing to attach to, the lock's line is all.
    QTest::newRow("window, no service") << false << int(QMessageBox::Ok) << int(AttachOffer::Answer::NoService)
                                        << "The folder is in use by process 42";
}

void tst_AttachOffer::folderInUse_offersToAttachOnlyWhereAServiceAnswers()
{
    QFETCH(bool, serviceRuns);
    QFETCH(int, operatorAnswers);
    QFETCH(int, expected);
    QFETCH(QString, said);
    QTemporaryDir dir;
    FakeServiceSide side;
    auto clock = std::make_shared<VirtualClock>();
    LoginGuard logins(clock);
    ServiceServer server(side, logins, clock);
    if (serviceRuns) {
        QString error;
        QVERIFY2(server.listenLocal(ServiceSettings::localServerName(dir.path()), &error), qPrintable(error));
    }
    MessageBox::clearShownTexts();
    MessageBox::setNextAnswer(QMessageBox::StandardButton(operatorAnswers));
    QCOMPARE(int(AttachOffer::ask(dir.path(), "The folder is in use by process 42 (ksr583-monitor).")), expected);
    QCOMPARE(MessageBox::shownTexts().size(), 1);
    QVERIFY2(MessageBox::shownTexts().first().contains(said), qPrintable(MessageBox::shownTexts().first()));
}

QTEST_MAIN(tst_AttachOffer)
#include "tst_attachoffer.moc"
