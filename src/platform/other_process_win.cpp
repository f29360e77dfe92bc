#include "platform/other_process.h"

namespace tarvexio {

bool processRuns(qint64)
{
    return true;
}

bool askToWorkNow(qint64)
{
    return false;
}

} // namespace tarvexio
