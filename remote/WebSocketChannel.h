#pragma once

#include "ClientChannel.h"

class QWebSocket;

// A client on TCP: one JSON message per WebSocket text message.
class WebSocketChannel : public ClientChannel
{
    Q_OBJECT

public:
    WebSocketChannel(QWebSocket *socket, int maxMessageBytes, QObject *parent = nullptr);
    ~WebSocketChannel() override;

    void send(const QByteArray &message) override;
    qint64 queuedBytes() const override;
    void close() override;
    void abort() override;
    QString address() const override;
    QString host() const override;

private:
    QWebSocket *m_socket;
    bool m_closed = false;
};
