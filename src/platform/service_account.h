#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvexio {

// The packaged service as this machine has it: its system user, that user's home (the
// service's program folder) and the agent's command line from /etc/default/tarvexio.
struct ServiceAccount {
    QString user;
    QString home;
    QStringList arguments;
};

// The installed service, when the process runs as root where it is installed; none otherwise.
std::optional<ServiceAccount> serviceAccountForRoot();

// The rest of this process runs as that account's user, its groups, its home: what it writes is
// the service's own. False, with why, when that cannot be done.
bool becomeServiceUser(const ServiceAccount& account, QString* why);

} // namespace tarvexio
