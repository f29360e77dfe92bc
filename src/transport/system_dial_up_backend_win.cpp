#include "transport/dial_up_backend.h"
#include "transport/ras_dial_up.h"

namespace tarvexio {

std::unique_ptr<DialUpBackend> createSystemDialUpBackend()
{
    return std::make_unique<RasDialUp>();
}

} // namespace tarvexio
