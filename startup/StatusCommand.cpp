#include "StatusCommand.h"

#include "StatusReport.h"

#include "remote/ServiceAddress.h"
#include "remote/ServiceConnection.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>

#include <cstdio>
#include <optional>

int StatusCommand::run(const QString &workFolder) const
{
    const auto fail = [](const QString &line) {
        std::fprintf(stderr, "%s\n", qPrintable(line));
        return int(StatusReport::NoService);
    };
    ServiceConnection connection(QStringLiteral("ksr583-monitor --status"));
    // One try: a script wants an answer now, not a retry later.
    connection.setRetryDelays(WaitMs * 10, WaitMs * 10);
    std::optional<ServiceSnapshot> snapshot;
    QString problem;
    QEventLoop loop;
    QObject::connect(&connection, &ServiceConnection::snapshotReceived, &loop,
                     [&](const ServiceSnapshot &s) {
                         snapshot = s;
                         loop.quit();
                     });
    QObject::connect(&connection, &ServiceConnection::problem, &loop,
                     [&problem](const QString &text) { problem = text; });
    QObject::connect(&connection, &ServiceConnection::refused, &loop, [&](const QString &, const QString &text) {
        problem = text;
        loop.quit();
    });
    QObject::connect(&connection, &ServiceConnection::serviceError, &loop,
                     [&](const QString &, const QString &text) { problem = text; });
    QObject::connect(&connection, &ServiceConnection::stateChanged, &loop, [&loop](ServiceConnection::State s) {
        if (s == ServiceConnection::State::Disconnected)
            loop.quit();
    });
    ServiceAddress address;
    QString error;
    if (!ServiceAddress::parse(m_address, workFolder, &address, &error))
        return fail(error);
    const QString where = address.isLocal() ? address.localName : address.url.toString();
    if (address.isLocal())
        connection.openLocal(address.localName);
    else
        connection.openUrl(address.url);
    QTimer::singleShot(WaitMs, &loop, &QEventLoop::quit);
    // A socket that is not there says so while it is opened, before the
    // loop could hear it: the script is answered at once, not after the wait.
    const bool failedAlready = connection.state() == ServiceConnection::State::Disconnected
                               || connection.state() == ServiceConnection::State::Refused;
    if (!snapshot && !failedAlready)
        loop.exec();
    connection.close();
    if (!snapshot) {
        return fail(tr("No service answers at %1%2")
                        .arg(where, problem.isEmpty() ? QString() : QStringLiteral(": ") + problem));
    }
    const QString out = m_json ? QString::fromUtf8(QJsonDocument(StatusReport::json(*snapshot)).toJson())
                               : StatusReport::text(*snapshot);
    std::fputs(out.toLocal8Bit().constData(), stdout);
    return StatusReport::exitOf(*snapshot);
}
