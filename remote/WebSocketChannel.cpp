#include "WebSocketChannel.h"

#include <QWebSocket>

WebSocketChannel::WebSocketChannel(QWebSocket *socket, int maxMessageBytes, QObject *parent)
    : ClientChannel(parent), m_socket(socket)
{
    m_socket->setParent(this);
    // A frame header announcing more than this ends the connection before its payload is read.
    m_socket->setMaxAllowedIncomingFrameSize(quint64(maxMessageBytes));
    m_socket->setMaxAllowedIncomingMessageSize(quint64(maxMessageBytes));
    connect(m_socket, &QWebSocket::textMessageReceived, this, [this](const QString &text) {
        if (!m_closed)
            emit received(text.toUtf8());
    });
    connect(m_socket, &QWebSocket::binaryMessageReceived, this, [this] {
        if (!m_closed)
            emit faulted(tr("binary messages are no part of the protocol"));
    });
    connect(m_socket, &QWebSocket::disconnected, this, [this] {
        if (!m_closed) {
            m_closed = true;
            emit closed();
        }
    });
}

WebSocketChannel::~WebSocketChannel()
{
    // Closing the socket as it goes must not call back into this half-destroyed object.
    m_socket->disconnect(this);
}

void WebSocketChannel::send(const QByteArray &message)
{
    if (!m_closed)
        m_socket->sendTextMessage(QString::fromUtf8(message));
}

qint64 WebSocketChannel::queuedBytes() const
{
    return m_socket->bytesToWrite();
}

void WebSocketChannel::close()
{
    if (!m_closed)
        m_socket->close();
}

void WebSocketChannel::abort()
{
    if (!m_closed)
        m_socket->abort();
}

QString WebSocketChannel::address() const
{
    return host() + QLatin1Char(':') + QString::number(m_socket->peerPort());
}

QString WebSocketChannel::host() const
{
    QHostAddress a = m_socket->peerAddress();
    bool mapped = false;
    const QHostAddress v4(a.toIPv4Address(&mapped));
    return mapped ? v4.toString() : a.toString();
}
