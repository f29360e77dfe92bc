#include "agent_client.h"

#include "app/control_protocol.h"
#include "platform/control_socket_place.h"

#include <QDeadlineTimer>
#include <QJsonDocument>

namespace tarvexio {

bool AgentClient::connect()
{
    lookedAt_ = controlSocketCandidates();
    for (const QString& path : std::as_const(lookedAt_)) {
        socket_.connectToServer(path);
        if (socket_.waitForConnected(3000)) {
            path_ = path;
            return true;
        }
        if (socket_.error() == QLocalSocket::SocketAccessError && refused_.isEmpty())
            refused_ = path;
        socket_.abort();
    }
    return false;
}

QJsonObject AgentClient::ask(const QJsonObject& request)
{
    socket_.write(controlLine(request));
    // An agent that turns this user away answers and closes before the request is taken.
    socket_.waitForBytesWritten(30000);
    QByteArray received = socket_.readAll();
    const QDeadlineTimer deadline(AnswerWaitMs);
    while (!received.contains('\n')) {
        if (deadline.hasExpired() || !socket_.waitForReadyRead(int(deadline.remainingTime())))
            return controlRefusal(QStringLiteral("the agent did not answer: ") +
                                  socket_.errorString());
        received += socket_.readAll();
    }
    const QJsonDocument answer = QJsonDocument::fromJson(received.left(received.indexOf('\n')));
    return answer.isObject() ? answer.object()
                             : controlRefusal(QStringLiteral("the agent's answer is not JSON"));
}

} // namespace tarvexio
