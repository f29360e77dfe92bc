#include "platform/process_environment.h"

namespace tarvexio {

bool stdoutIsJournal()
{
    return false;
}

bool noDisplay()
{
    return false;
}

} // namespace tarvexio
