#include "transport/dial_up_backend.h"

#ifdef Q_OS_WIN
#include "transport/ras_dial_up.h"
#else
#include "transport/network_manager_dial_up.h"
#endif

namespace tarvexio {

std::unique_ptr<DialUpBackend> CreateSystemDialUpBackend()
{
#ifdef Q_OS_WIN
    return std::make_unique<RasDialUp>();
#else
    return std::make_unique<NetworkManagerDialUp>();
#endif
}

} // namespace tarvexio
