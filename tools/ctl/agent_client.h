#pragma once

#include <QJsonObject>
#include <QLocalSocket>
#include <QString>
#include <QStringList>

namespace tarvexio {

// The running agent's control socket, as tarvexioctl reaches it.
class AgentClient {
public:
    // How long an answer may take: a request that comes during the agent's tick waits for
    // its end, and a send or a connection test takes as long as its FTP jobs.
    static constexpr int AnswerWaitMs = 15 * 60 * 1000;

    // Connects to the first socket an agent answers on; false when none does, refused() then
    // names a socket that turned this user away.
    bool connect();
    const QString& path() const { return path_; }
    const QString& refused() const { return refused_; }
    const QStringList& lookedAt() const { return lookedAt_; }

    // One request and its answer; a refusal when the agent does not answer.
    QJsonObject ask(const QJsonObject& request);

private:
    QLocalSocket socket_;
    QString path_;
    QString refused_;
    QStringList lookedAt_;
};

} // namespace tarvexio
