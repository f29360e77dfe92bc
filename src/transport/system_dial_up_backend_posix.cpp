#include "transport/dial_up_backend.h"
#include "transport/network_manager_dial_up.h"

namespace tarvexio {

std::unique_ptr<DialUpBackend> createSystemDialUpBackend()
{
    return std::make_unique<NetworkManagerDialUp>();
}

} // namespace tarvexio
