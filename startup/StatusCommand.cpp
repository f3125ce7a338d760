#include "StatusCommand.h"

#include "StatusReport.h"

#include "remote/ServiceConnection.h"
#include "remote/ServiceSettings.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QJsonDocument>
#include <QTimer>

#include <cstdio>
#include <optional>

QUrl StatusCommand::urlOf(const QString &address)
{
    if (address.startsWith(QLatin1String("ws://")) || address.startsWith(QLatin1String("wss://"))) {
        const QUrl url(address);
        return url.isValid() && !url.host().isEmpty() && url.port() > 0 ? url : QUrl();
    }
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int port = address.midRef(colon + 1).toInt(&ok);
    QString host = address.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    if (colon <= 0 || !ok || port <= 0 || port > 65535 || host.isEmpty())
        return QUrl();
    const bool loopback = host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
    QUrl url;
    url.setScheme(loopback ? QStringLiteral("ws") : QStringLiteral("wss"));
    url.setHost(host);
    url.setPort(port);
    url.setPath(QStringLiteral("/"));
    return url;
}

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
    QString where;
    const bool url = m_address.startsWith(QLatin1String("ws://")) || m_address.startsWith(QLatin1String("wss://"));
    if (m_address.isEmpty() || (!url && m_address.contains(QLatin1Char('/')))) {
        // A path: a local socket of its own, as one forwarded by ssh -L.
        where = m_address.isEmpty() ? ServiceSettings::localServerName(workFolder) : m_address;
        connection.openLocal(where);
    } else {
        const QUrl url = urlOf(m_address);
        if (!url.isValid())
            return fail(tr("\"%1\" is no service address: give host:port, or a ws:// or wss:// URL.").arg(m_address));
        where = url.toString();
        connection.openUrl(url);
    }
    QTimer::singleShot(WaitMs, &loop, &QEventLoop::quit);
    if (!snapshot)
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
