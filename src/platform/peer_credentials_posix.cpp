#include "platform/peer_credentials.h"

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace tarvexio {

namespace {

#ifdef SO_PEERGROUPS
// The peer's supplementary groups, as the kernel knows them.
bool inGroup(int socket, gid_t group)
{
    std::vector<gid_t> groups(64);
    socklen_t length = socklen_t(groups.size() * sizeof(gid_t));
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERGROUPS, groups.data(), &length) != 0) {
        groups.resize(length / sizeof(gid_t) + 1);
        length = socklen_t(groups.size() * sizeof(gid_t));
        if (::getsockopt(socket, SOL_SOCKET, SO_PEERGROUPS, groups.data(), &length) != 0)
            return false;
    }
    groups.resize(length / sizeof(gid_t));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}
#else
bool inGroup(int, gid_t)
{
    return false;
}
#endif

} // namespace

bool peerMayControl(qintptr socketDescriptor, QString* who)
{
    const int socket = int(socketDescriptor);
#ifdef SO_PEERCRED
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) {
        *who = QStringLiteral("nieznany proces");
        return false;
    }
    const uid_t uid = peer.uid;
    const gid_t gid = peer.gid;
    *who = QStringLiteral("uid %1, pid %2").arg(uid).arg(peer.pid);
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(socket, &uid, &gid) != 0) {
        *who = QStringLiteral("nieznany proces");
        return false;
    }
    *who = QStringLiteral("uid %1").arg(uid);
#endif
    return uid == 0 || uid == ::geteuid() || gid == ::getegid() || inGroup(socket, ::getegid());
}

} // namespace tarvexio
