#pragma once

#include <QByteArray>
#include <QSslCertificate>
#include <QString>

// The certificates an operator has accepted, one per service ("host:port"),
// as SHA-256 digests in an INI file of their own. A service's self-signed
// certificate is pinned on first use; another one later is refused.
class CertificatePins
{
public:
    explicit CertificatePins(const QString &iniFile) : m_file(iniFile) {}

    // Empty when none is pinned for `peer`.
    QByteArray pinned(const QString &peer) const;
    void pin(const QString &peer, const QSslCertificate &certificate);

    static QByteArray digest(const QSslCertificate &certificate);

private:
    QString m_file;
};
