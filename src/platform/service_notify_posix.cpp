#include "platform/service_notify.h"

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tarvexio {

// A few lines of the notify protocol instead of libsystemd: one datagram to the socket the
// manager names, "@" for the abstract namespace.
void notifyServiceManager(const QByteArray& state)
{
    const QByteArray path = qgetenv("NOTIFY_SOCKET");
    sockaddr_un address{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (address.sun_path[0] == '@')
        address.sun_path[0] = '\0';
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(path.size()));
    // A manager that does not listen costs the agent nothing.
    (void)::sendto(fd, state.constData(), size_t(state.size()), MSG_NOSIGNAL,
                   reinterpret_cast<const sockaddr*>(&address), length);
    ::close(fd);
}

int watchdogPingMs()
{
    bool number = false;
    const qint64 usec = qgetenv("WATCHDOG_USEC").toLongLong(&number);
    if (!number || usec <= 0)
        return 0;
    // Meant for another process of the service, not for this one.
    if (const QByteArray pid = qgetenv("WATCHDOG_PID");
        !pid.isEmpty() && pid.toLongLong() != qint64(::getpid()))
        return 0;
    return int(std::clamp<qint64>(usec / 2000, 1, std::numeric_limits<int>::max()));
}

} // namespace tarvexio
