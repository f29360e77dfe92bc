#include "platform/other_process.h"

#include <csignal>

namespace tarvexio {

bool ProcessRuns(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0;
}

bool AskToWorkNow(qint64 pid)
{
    return ::kill(pid_t(pid), SIGUSR1) == 0;
}

} // namespace tarvexio
