#pragma once

#include <QtGlobal>

#include <array>

struct sockaddr;

// An IP address and port as the system's socket calls take them (a
// sockaddr_in or sockaddr_in6), for a library that binds its own sockets.
class SocketAddress
{
public:
    using IPv6Bytes = std::array<quint8, 16>;

    // `address` in host byte order, as QHostAddress::toIPv4Address() gives it.
    static SocketAddress ipv4(quint32 address, quint16 port);
    static SocketAddress ipv6(const IPv6Bytes &address, quint16 port);

    const sockaddr *data() const;
    bool isIPv6() const { return m_ipv6; }

private:
    SocketAddress() = default;

    // Room for either form, aligned as the system's sockaddr_storage.
    alignas(8) unsigned char m_bytes[32] = {};
    bool m_ipv6 = false;
};
