#pragma once

#include "ClientChannel.h"

#include "protocol/LineFramer.h"

class QLocalSocket;

// A client on the local socket: one JSON message per line.
class LocalChannel : public ClientChannel
{
    Q_OBJECT

public:
    LocalChannel(QLocalSocket *socket, int maxMessageBytes, int readBufferBytes, QObject *parent = nullptr);
    ~LocalChannel() override;

    void send(const QByteArray &message) override;
    qint64 queuedBytes() const override;
    void close() override;
    void abort() override;
    QString address() const override { return QStringLiteral("local"); }
    QString host() const override { return QStringLiteral("local"); }

private:
    void readAvailable();

    QLocalSocket *m_socket;
    LineFramer m_framer;
    int m_maxMessageBytes;
    bool m_closed = false;
};
