#pragma once

// The BSD socket calls as this system spells them (chosen by the build: src/platform/win).
#include <winsock2.h>
#include <ws2tcpip.h>

namespace tarvexio::socket_api {

using Handle = SOCKET;
constexpr int ShutBoth = SD_BOTH;
constexpr int ShutSend = SD_SEND;

inline int pollOne(pollfd* socket, int milliseconds)
{
    return ::WSAPoll(socket, 1, milliseconds);
}

inline int closeSocket(Handle socket)
{
    return ::closesocket(socket);
}

} // namespace tarvexio::socket_api
