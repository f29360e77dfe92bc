#include "platform/service_account.h"

namespace tarvexio {

// No packaged service here.
std::optional<ServiceAccount> serviceAccountForRoot()
{
    return std::nullopt;
}

bool becomeServiceUser(const ServiceAccount&, QString* why)
{
    *why = QStringLiteral("no service account on this system");
    return false;
}

} // namespace tarvexio
