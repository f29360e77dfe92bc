#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvexio {

// What a running agent leaves for the operator's tool (tarvexioctl status) in its program
// folder: written at the end of every tick, so it is as fresh as the agent's last look.
struct AgentStatus {
    QDateTime written;
    QStringList uploadList; // files waiting to be sent, full paths
    int failedAttempts = 0;
    int attemptLimit = 0;
    bool attemptLimitReached = false;
    qint64 checkPeriodMs = 0;
    QStringList alerts;           // the last alerting log lines, oldest first
    QDateTime requestsLastLooked; // the last listing of the server's folder that went
};

QString agentStatusPath(const QString& programFolder);

// The lock every agent holds in its exchange directory; it names the agent's process.
inline const QString ExchangeLockName = QStringLiteral(".tarvexio.lock");
// Best effort: a status that cannot be written costs the operator a view, not the agent a day.
void writeAgentStatus(const QString& path, const AgentStatus& status);
std::optional<AgentStatus> readAgentStatus(const QString& path);

// Files the operator sent by hand (tarvexioctl send), one full path a line, in the exchange
// directory: the agent drops them from its upload list at its next tick.
QString sentByHandPath(const QString& exchangeDirectory);
void recordSentByHand(const QString& exchangeDirectory, const QString& file);

} // namespace tarvexio
