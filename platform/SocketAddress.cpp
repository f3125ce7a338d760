#include "SocketAddress.h"

#include <QtEndian>

#include <cstring>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

static_assert(sizeof(sockaddr_in6) <= 32 && sizeof(sockaddr_in) <= 32, "SocketAddress holds either form");

SocketAddress SocketAddress::ipv4(quint32 address, quint16 port)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    // Network byte order without htons(), which Windows keeps in a DLL.
    in.sin_port = qToBigEndian(port);
    in.sin_addr.s_addr = qToBigEndian(address);
    SocketAddress a;
    std::memcpy(a.m_bytes, &in, sizeof in);
    return a;
}

SocketAddress SocketAddress::ipv6(const IPv6Bytes &address, quint16 port)
{
    sockaddr_in6 in{};
    in.sin6_family = AF_INET6;
    in.sin6_port = qToBigEndian(port);
    std::memcpy(in.sin6_addr.s6_addr, address.data(), address.size());
    SocketAddress a;
    std::memcpy(a.m_bytes, &in, sizeof in);
    a.m_ipv6 = true;
    return a;
}

const sockaddr *SocketAddress::data() const
{
    return reinterpret_cast<const sockaddr *>(m_bytes);
}
