#include "support/agent_process.h"
#include "support/files.h"

#include <QFile>

#include <csignal>

namespace tarvexio::test {

AgentProcess::AgentProcess(const QString& home, const QStringList& arguments,
                           const QString& runtime, const QString& output)
    : folder_(runtime.isEmpty() ? runtime_.path() : runtime)
{
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TARVEXIO_HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_);
    process.setProcessEnvironment(env);
    if (!output.isEmpty())
        process.setStandardOutputFile(output); // truncated, so the file (and its inode) stays
    process.start(qEnvironmentVariable("TARVEXIO_DAEMON_BINARY"), arguments);
}

AgentProcess::~AgentProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool AgentProcess::stop(int waitMs)
{
    ::kill(pid_t(process.processId()), SIGTERM);
    return process.waitForFinished(waitMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString readAgentLog(const QString& home)
{
    return QString::fromUtf8(readFile(home + QStringLiteral("/Tarvexio.log")));
}

} // namespace tarvexio::test
