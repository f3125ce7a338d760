#include "ServiceSettings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

ServiceSettings ServiceSettings::read(const QString &iniFile)
{
    QSettings ini(iniFile, QSettings::IniFormat);
    ini.setIniCodec("Windows-1251");
    ServiceSettings s;
    // A value with a comma reads as a list: joined again, it is refused as the text it is.
    const auto text = [&ini](const QString &key, const QString &fallback = QString()) {
        const QVariant v = ini.value(key, fallback);
        return (v.type() == QVariant::StringList ? v.toStringList().join(QStringLiteral(", ")) : v.toString())
            .trimmed();
    };
    const QString portText = text(QStringLiteral("Service/Port"));
    if (portText.isEmpty())
        return s;
    bool ok = false;
    const int port = portText.toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        s.problems << tr("Service/Port \"%1\" is not a port number from 1 to 65535: the service is "
                         "reached through its local socket only.").arg(portText.left(40));
        return s;
    }
    const QString addressText = text(QStringLiteral("Service/Address"), QStringLiteral("127.0.0.1"));
    QHostAddress address;
    if (addressText.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        address = QHostAddress(QHostAddress::LocalHost);
    else
        address.setAddress(addressText);
    if (address.isNull()) {
        s.problems << tr("Service/Address \"%1\" is not an IP address: the service is reached "
                         "through its local socket only.").arg(addressText.left(60));
        return s;
    }
    const QDir base = QFileInfo(iniFile).absoluteDir();
    const auto path = [&](const char *key) {
        const QString p = text(QLatin1String(key));
        return p.isEmpty() ? p : QDir::cleanPath(base.absoluteFilePath(p));
    };
    s.certificate = path("Service/Certificate");
    s.key = path("Service/Key");
    s.tls = !s.certificate.isEmpty() || !s.key.isEmpty();
    if (s.tls && (s.certificate.isEmpty() || s.key.isEmpty())) {
        s.problems << tr("TLS needs both Service/Certificate and Service/Key: the service is "
                         "reached through its local socket only.");
        return s;
    }
    if (!address.isLoopback() && !s.tls) {
        s.problems << tr("Service/Address %1 is reachable from other computers, so it needs TLS "
                         "(Service/Certificate and Service/Key): the service is reached through "
                         "its local socket only.").arg(address.toString());
        return s;
    }
    s.tcp = true;
    s.address = address;
    s.port = quint16(port);
    return s;
}

QString ServiceSettings::localServerName(const QString &workFolder)
{
    const QString folder = QDir::cleanPath(QFileInfo(workFolder).absoluteFilePath());
#ifdef Q_OS_WIN
    // A pipe's name is no path: the folder's digest keeps two folders apart.
    const QByteArray digest =
        QCryptographicHash::hash(folder.toLower().toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("ksr583-monitor-") + QString::fromLatin1(digest);
#else
    return folder + QStringLiteral("/ksr583-monitor.socket");
#endif
}
