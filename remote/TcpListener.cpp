#include "TcpListener.h"

#include <QSslSocket>

TcpListener::TcpListener(int readBufferBytes, QObject *parent)
    : QTcpServer(parent), m_readBufferBytes(readBufferBytes)
{
}

void TcpListener::setTls(const QSslConfiguration &configuration)
{
    m_tls = true;
    m_configuration = configuration;
}

void TcpListener::incomingConnection(qintptr descriptor)
{
    QTcpSocket *socket = nullptr;
    if (m_tls) {
        auto *ssl = new QSslSocket;
        ssl->setSslConfiguration(m_configuration);
        socket = ssl;
    } else {
        socket = new QTcpSocket;
    }
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setReadBufferSize(m_readBufferBytes);
    if (m_tls)
        static_cast<QSslSocket *>(socket)->startServerEncryption();
    emit accepted(socket);
}
