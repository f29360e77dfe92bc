#include "platform/other_process.h"

#include <csignal>

namespace tarvexio {

bool processRuns(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0;
}

bool askToWorkNow(qint64 pid)
{
    return ::kill(pid_t(pid), SIGUSR1) == 0;
}

} // namespace tarvexio
