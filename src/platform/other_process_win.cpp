#include "platform/other_process.h"

namespace tarvexio {

bool ProcessRuns(qint64)
{
    return true;
}

bool AskToWorkNow(qint64)
{
    return false;
}

} // namespace tarvexio
