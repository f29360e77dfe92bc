#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tarvexio::test {

// The real daemon, as a service runs it, with its program folder (log, configuration) in home
// and a runtime folder (its single-instance lock, its control socket) of its own unless one is
// given; its stdout
// goes to a file when one is named. Killed if still running at the end.
class AgentProcess {
public:
    AgentProcess(const QString& home, const QStringList& arguments,
                 const QString& runtime = QString(), const QString& output = QString());
    ~AgentProcess();
    AgentProcess(const AgentProcess&) = delete;
    AgentProcess& operator=(const AgentProcess&) = delete;

    QProcess process;
    // Its runtime folder, and the control socket it listens on there.
    const QString& runtimeFolder() const { return folder_; }
    QString controlSocket() const { return folder_ + QStringLiteral("/tarvexio.sock"); }
    // SIGTERM, as a service manager stops it; true once it has ended cleanly, with code 0.
    bool stop(int waitMs = 10000);

private:
    QTemporaryDir runtime_;
    QString folder_;
};

// The agent's log in its program folder.
QString readAgentLog(const QString& home);

} // namespace tarvexio::test
