#pragma once

#include <QtGlobal>

#include <chrono>

struct sockaddr;

namespace tarvexio {

// A connected socket of the system (int on POSIX, SOCKET on Windows).
using NativeSocket = qintptr;

// The port at the other end of a connected socket; 0 when it has none.
quint16 peerPortOf(NativeSocket socket);
// The port of an IPv4 or IPv6 address; 0 for another family.
quint16 portOf(const sockaddr* address);

// Both directions shut at once: a process that is ending waits for nothing.
void shutDownNow(NativeSocket socket);
// Sends FIN, then reads until the peer closes its end or the wait is over, so that what the
// peer still sends (a TLS 1.3 server's tickets) meets no reset that would drop the end of
// what this side sent.
void endInOrder(NativeSocket socket, std::chrono::milliseconds wait);
// Closes the socket; 0 on success, as close() and closesocket() say.
int closeNow(NativeSocket socket);

} // namespace tarvexio
