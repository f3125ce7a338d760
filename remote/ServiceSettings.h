#pragma once

#include <QCoreApplication>
#include <QHostAddress>
#include <QString>
#include <QStringList>

// How the service is reached, from group Service of the configuration file.
// By default only through the local socket of the work folder. Service/Port
// adds TCP on Service/Address (127.0.0.1 unless set); on any address but the
// loopback, TCP needs TLS: Service/Certificate and Service/Key (PEM files,
// relative paths taken from the configuration file's folder).
struct ServiceSettings
{
    Q_DECLARE_TR_FUNCTIONS(ServiceSettings)

public:
    bool tcp = false;
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;
    bool tls = false;
    QString certificate;
    QString key;
    // A broken value turns TCP off; each says why, for the program log.
    QStringList problems;

    static ServiceSettings read(const QString &iniFile);

    // The local socket's name for a work folder: a socket file in the folder
    // on Unix, a named pipe named after the folder on Windows.
    static QString localServerName(const QString &workFolder);
};
