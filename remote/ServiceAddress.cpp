#include "ServiceAddress.h"

#include "ServiceSettings.h"

#include <QHostAddress>

namespace {

// Host names are at most 253 characters; anything longer is no address.
constexpr int MaxAddressLength = 300;

bool isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

}  // namespace

bool ServiceAddress::sameComputer() const
{
    return isLocal() ? !givenSocket : isLoopback(url.host());
}

QString ServiceAddress::describe() const
{
    if (isLocal())
        return givenSocket ? localName : tr("the local service");
    return url.host() + QLatin1Char(':') + QString::number(url.port());
}

bool ServiceAddress::parse(const QString &text, const QString &workFolder, ServiceAddress *out, QString *error)
{
    const QString t = text.trimmed();
    *out = ServiceAddress();
    if (t.isEmpty()) {
        out->localName = ServiceSettings::localServerName(workFolder);
        return true;
    }
    if (t.size() > MaxAddressLength) {
        *error = tr("The service address is too long.");
        return false;
    }
    if (t.startsWith(QLatin1Char('/'))) {
        out->localName = t;
        out->givenSocket = true;
        return true;
    }
    QUrl url;
    if (t.startsWith(QLatin1String("ws://"), Qt::CaseInsensitive)
        || t.startsWith(QLatin1String("wss://"), Qt::CaseInsensitive)) {
        url = QUrl(t, QUrl::StrictMode);
    } else {
        // "[::1]:7583" and "labpc:7583" both read as an authority.
        url = QUrl(QStringLiteral("ws://") + t, QUrl::StrictMode);
        if (url.isValid() && !isLoopback(url.host()))
            url.setScheme(QStringLiteral("wss"));
    }
    if (!url.isValid() || url.host().isEmpty() || url.port() < 1 || !url.userInfo().isEmpty()
        || (!url.path().isEmpty() && url.path() != QLatin1String("/"))) {
        *error = tr("\"%1\" is no service address: give host:port, e.g. labpc:7583.").arg(t);
        return false;
    }
    out->url = url;
    return true;
}
