#include "LocalChannel.h"

#include <QLocalSocket>

LocalChannel::LocalChannel(QLocalSocket *socket, int maxMessageBytes, int readBufferBytes, QObject *parent)
    : ClientChannel(parent), m_socket(socket), m_framer(maxMessageBytes), m_maxMessageBytes(maxMessageBytes)
{
    m_socket->setParent(this);
    // Qt holds no more of an unread flood than this; the rest waits in the system.
    m_socket->setReadBufferSize(readBufferBytes);
    connect(m_socket, &QLocalSocket::readyRead, this, &LocalChannel::readAvailable);
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        if (!m_closed) {
            m_closed = true;
            emit closed();
        }
    });
}

LocalChannel::~LocalChannel()
{
    // Closing the socket as it goes must not call back into this half-destroyed object.
    m_socket->disconnect(this);
}

void LocalChannel::readAvailable()
{
    while (!m_closed && m_socket->bytesAvailable() > 0) {
        const QList<QByteArray> lines = m_framer.feed(m_socket->read(64 * 1024));
        for (const QByteArray &line : lines) {
            if (m_closed)
                return;
            emit received(line);
        }
        if (m_framer.overflowed()) {
            emit faulted(tr("a message is larger than %1 bytes").arg(m_maxMessageBytes));
            return;
        }
    }
}

void LocalChannel::send(const QByteArray &message)
{
    if (!m_closed)
        m_socket->write(LineFramer::frame(message));
}

qint64 LocalChannel::queuedBytes() const
{
    return m_socket->bytesToWrite();
}

void LocalChannel::close()
{
    if (!m_closed)
        m_socket->disconnectFromServer();  // after what is queued
}

void LocalChannel::abort()
{
    if (!m_closed)
        m_socket->abort();
}
