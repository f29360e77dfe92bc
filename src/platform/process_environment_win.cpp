#include "platform/process_environment.h"

namespace tarvexio {

bool StdoutIsJournal()
{
    return false;
}

bool NoDisplay()
{
    return false;
}

} // namespace tarvexio
