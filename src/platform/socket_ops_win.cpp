#include "platform/socket_ops.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace tarvexio {

namespace {

constexpr int ShutBoth = SD_BOTH;
constexpr int ShutSend = SD_SEND;

SOCKET handle(NativeSocket socket)
{
    return SOCKET(socket);
}

int pollOne(pollfd* socket, int milliseconds)
{
    return ::WSAPoll(socket, 1, milliseconds);
}

} // namespace

int closeNow(NativeSocket socket)
{
    return ::closesocket(handle(socket));
}

void endInOrder(NativeSocket socket, std::chrono::milliseconds wait)
{
    ::shutdown(handle(socket), ShutSend);
    const auto until = std::chrono::steady_clock::now() + wait;
    char sink[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd readable{handle(socket), POLLIN, 0};
        if (left.count() <= 0 || pollOne(&readable, int(left.count())) <= 0 ||
            ::recv(handle(socket), sink, int(sizeof sink), 0) <= 0)
            return;
    }
}

quint16 portOf(const sockaddr* address)
{
    if (address->sa_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in*>(address)->sin_port);
    if (address->sa_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6*>(address)->sin6_port);
    return 0;
}

quint16 peerPortOf(NativeSocket socket)
{
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(handle(socket), reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return 0;
    return portOf(reinterpret_cast<const sockaddr*>(&peer));
}

void shutDownNow(NativeSocket socket)
{
    ::shutdown(handle(socket), ShutBoth);
}

} // namespace tarvexio
