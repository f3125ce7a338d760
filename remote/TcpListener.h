#pragma once

#include <QSslConfiguration>
#include <QTcpServer>

class QTcpSocket;

// Accepts TCP connections and hands each over at once as a socket whose
// read buffer is bounded, so an endless request is never held whole. With
// a TLS configuration each is a server-side QSslSocket that has started its
// handshake.
class TcpListener : public QTcpServer
{
    Q_OBJECT

public:
    explicit TcpListener(int readBufferBytes, QObject *parent = nullptr);

    void setTls(const QSslConfiguration &configuration);
    bool usesTls() const { return m_tls; }

signals:
    void accepted(QTcpSocket *socket);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    int m_readBufferBytes;
    bool m_tls = false;
    QSslConfiguration m_configuration;
};
