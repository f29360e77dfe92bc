#include "platform/autostart_store.h"

namespace tarvexio {

std::unique_ptr<AutostartStore> CreateSystemAutostartStore()
{
    return std::make_unique<RunKeyAutostartStore>();
}

} // namespace tarvexio
