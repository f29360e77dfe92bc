#include "platform/socket_ops.h"

#include "socket_api.h"

namespace tarvexio {

namespace {

socket_api::Handle handle(NativeSocket socket)
{
    return socket_api::Handle(socket);
}

} // namespace

int closeNow(NativeSocket socket)
{
    return socket_api::closeSocket(handle(socket));
}

void endInOrder(NativeSocket socket, std::chrono::milliseconds wait)
{
    ::shutdown(handle(socket), socket_api::ShutSend);
    const auto until = std::chrono::steady_clock::now() + wait;
    char sink[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd readable{handle(socket), POLLIN, 0};
        if (left.count() <= 0 || socket_api::pollOne(&readable, int(left.count())) <= 0 ||
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
    ::shutdown(handle(socket), socket_api::ShutBoth);
}

} // namespace tarvexio
