#include "TlsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QSslKey>

namespace {

bool readSmallFile(const QString &path, QByteArray *out, QString *error)
{
    const QFileInfo info(path);
    QFile f(path);
    if (!info.isFile() || info.size() > TlsFiles::MaxFileBytes || !f.open(QIODevice::ReadOnly)) {
        *error = TlsFiles::tr("\"%1\" is no readable file of up to 1 MB").arg(QDir::toNativeSeparators(path));
        return false;
    }
    *out = f.read(TlsFiles::MaxFileBytes);
    return true;
}

}  // namespace

bool TlsFiles::load(const QString &certificate, const QString &key, QSslConfiguration *out, QString *error)
{
    QByteArray certBytes;
    QByteArray keyBytes;
    if (!readSmallFile(certificate, &certBytes, error) || !readSmallFile(key, &keyBytes, error))
        return false;
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certBytes, QSsl::Pem);
    if (chain.isEmpty() || chain.first().isNull()) {
        *error = tr("\"%1\" holds no PEM certificate").arg(QDir::toNativeSeparators(certificate));
        return false;
    }
    QSslKey privateKey(keyBytes, QSsl::Rsa, QSsl::Pem);
    if (privateKey.isNull())
        privateKey = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
    if (privateKey.isNull()) {
        *error = tr("\"%1\" holds no unencrypted PEM private key (RSA or EC)").arg(QDir::toNativeSeparators(key));
        return false;
    }
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setLocalCertificateChain(chain);
    c.setPrivateKey(privateKey);
    c.setProtocol(QSsl::TlsV1_2OrLater);
    c.setPeerVerifyMode(QSslSocket::VerifyNone);
    *out = c;
    return true;
}
