#pragma once

#include <QCoreApplication>
#include <QSslConfiguration>
#include <QString>

// The service's certificate and private key (PEM files) as a TLS server
// configuration: TLS 1.2 or later, no client certificates asked.
class TlsFiles
{
    Q_DECLARE_TR_FUNCTIONS(TlsFiles)

public:
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    // False with the reason when a file is missing, too large, or no PEM
    // certificate or unencrypted key. (A key of another certificate shows
    // only in the handshakes, which then fail.)
    static bool load(const QString &certificate, const QString &key, QSslConfiguration *out, QString *error);
};
