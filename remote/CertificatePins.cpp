#include "CertificatePins.h"

#include <QCryptographicHash>
#include <QSettings>

namespace {
QString keyOf(const QString &peer)
{
    // Host names and ports only; anything else cannot become a nested key.
    QString k = peer;
    k.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("Pins/") + k;
}
}  // namespace

QByteArray CertificatePins::digest(const QSslCertificate &certificate)
{
    return certificate.digest(QCryptographicHash::Sha256).toHex();
}

QByteArray CertificatePins::pinned(const QString &peer) const
{
    QSettings ini(m_file, QSettings::IniFormat);
    return ini.value(keyOf(peer)).toByteArray();
}

void CertificatePins::pin(const QString &peer, const QSslCertificate &certificate)
{
    QSettings ini(m_file, QSettings::IniFormat);
    ini.setValue(keyOf(peer), digest(certificate));
    ini.sync();
}
