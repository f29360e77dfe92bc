#pragma once

// The BSD socket calls as this system spells them (chosen by the build: src/platform/posix).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvexio::socket_api {

using Handle = int;
constexpr int ShutBoth = SHUT_RDWR;
constexpr int ShutSend = SHUT_WR;

inline int pollOne(pollfd* socket, int milliseconds)
{
    return ::poll(socket, 1, milliseconds);
}

inline int closeSocket(Handle socket)
{
    return ::close(socket);
}

} // namespace tarvexio::socket_api
