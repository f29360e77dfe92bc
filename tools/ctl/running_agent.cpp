#include "running_agent.h"

#include "agent_settings.h"
#include "app/agent_status.h"
#include "export/data_file_name.h"

#include <QDir>
#include <QLockFile>

#include "platform/other_process.h"

#include <cstdio>

namespace tarvexio {

std::optional<qint64> runningAgent(const QString& exchangeDirectory)
{
    // The lock every agent holds on its exchange directory names its process.
    const QLockFile lock(QDir(exchangeDirectory).filePath(ExchangeLockName));
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application) || pid <= 0)
        return std::nullopt;
    if (!processRuns(pid))
        return std::nullopt; // a lock its process left behind
    return pid;
}

int sendNow(AgentSettings& settings)
{
    const QString directory = exchangeDirectory(settings.record().ParEksportDir);
    if (const std::optional<qint64> pid = runningAgent(directory); pid && askToWorkNow(*pid)) {
        std::printf("Asked the agent (process %lld) to send now.\n", static_cast<long long>(*pid));
        return 0;
    }
    std::fprintf(stderr, "No agent runs for the exchange directory %s.\n",
                 QDir::toNativeSeparators(directory).toLocal8Bit().constData());
    return 1;
}

} // namespace tarvexio
