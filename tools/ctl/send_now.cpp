#include "send_now.h"

#include "agent_settings.h"
#include "export/data_file_name.h"

#include <QDir>
#include <QLockFile>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace tarvexio {

int SendNow(AgentSettings& settings)
{
    const QString directory = ExchangeDirectory(settings.record().ParEksportDir);
    // The lock every agent holds on its exchange directory names its process.
    QLockFile lock(QDir(directory).filePath(QStringLiteral(".tarvexio.lock")));
    qint64 pid = 0;
    QString host;
    QString application;
#ifdef Q_OS_UNIX
    if (lock.getLockInfo(&pid, &host, &application) && pid > 0 && ::kill(pid_t(pid), 0) == 0 &&
        ::kill(pid_t(pid), SIGUSR1) == 0) {
        std::printf("Asked the agent (process %lld) to send now.\n", static_cast<long long>(pid));
        return 0;
    }
#endif
    std::fprintf(stderr, "No agent runs for the exchange directory %s.\n",
                 QDir::toNativeSeparators(directory).toLocal8Bit().constData());
    return 1;
}

} // namespace tarvexio
