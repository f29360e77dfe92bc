#include "platform/autostart_store.h"

namespace tarvexio {

std::unique_ptr<AutostartStore> createSystemAutostartStore()
{
    return std::make_unique<RunKeyAutostartStore>();
}

} // namespace tarvexio
