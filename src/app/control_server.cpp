#include "app/control_server.h"

#include "app/control_protocol.h"
#include "model/event_log.h"
#include "platform/control_socket_place.h"
#include "platform/peer_credentials.h"

#include <QJsonDocument>
#include <QLocalSocket>
#include <QTimer>

namespace tarvexio {

ControlServer::ControlServer(ControlCommands& commands, EventLog& log, QObject* parent)
    : QObject(parent)
    , commands_(commands)
    , log_(log)
{
    connect(&server_, &QLocalServer::newConnection, this, &ControlServer::accept);
}

ControlServer::~ControlServer()
{
    server_.close();
}

ControlServer::Listening ControlServer::listen(const QString& path, QString* why)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(1000)) {
        *why = QStringLiteral("inny agent odpowiada na gnieździe %1").arg(path);
        return Listening::TakenByAnother;
    }
    QLocalServer::removeServer(path);
    server_.setSocketOptions(controlSocketAccess());
    if (!server_.listen(path)) {
        *why = QStringLiteral("%1: %2").arg(path, server_.errorString());
        return Listening::Failed;
    }
    settleControlSocketMode(server_.fullServerName());
    return Listening::Yes;
}

void ControlServer::accept()
{
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QObject::destroyed, this, [this, client] { buffers_.remove(client); });
        // A client that says nothing is let go.
        auto* silence = new QTimer(client);
        silence->setSingleShot(true);
        silence->start(SilentClientMs);
        connect(silence, &QTimer::timeout, client, &QLocalSocket::abort);
        QString who;
        if (!peerMayControl(client->socketDescriptor(), &who)) {
            log_.WriteLog(
                QStringLiteral("UWAGA: odmówiono dostępu do gniazda sterującego (%1)").arg(who));
            respond(client, controlRefusal(QStringLiteral(
                                "not allowed: root, the agent's own user and members of its "
                                "group may use this socket")));
            // Closed once it has spoken: closed before, its request would lose the answer.
            connect(client, &QLocalSocket::readyRead, client, [client] {
                client->readAll();
                client->disconnectFromServer();
            });
            continue;
        }
        connect(client, &QLocalSocket::readyRead, this, [this, client, silence] {
            silence->start(SilentClientMs);
            read(client);
        });
        if (client->bytesAvailable() > 0)
            read(client);
    }
}

void ControlServer::read(QLocalSocket* client)
{
    QByteArray& buffer = buffers_[client];
    buffer += client->readAll();
    for (qsizetype end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n')) {
        const QByteArray line = buffer.left(end);
        buffer.remove(0, end + 1);
        take(client, line);
    }
    if (buffer.size() > ControlLineLimit) {
        respond(
            client,
            controlRefusal(
                QStringLiteral("a request line may hold %1 bytes at most").arg(ControlLineLimit)));
        client->abort();
    }
}

void ControlServer::take(QLocalSocket* client, const QByteArray& line)
{
    if (line.size() > ControlLineLimit) {
        respond(
            client,
            controlRefusal(
                QStringLiteral("a request line may hold %1 bytes at most").arg(ControlLineLimit)));
        return;
    }
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (!document.isObject()) {
        respond(client, controlRefusal(QStringLiteral("a request is one JSON object a line")));
        return;
    }
    const QJsonObject request = document.object();
    if (request.value(QStringLiteral("protocol")).toInt() != ControlProtocolVersion) {
        respond(client,
                controlRefusal(
                    QStringLiteral("this agent speaks protocol %1").arg(ControlProtocolVersion)));
        return;
    }
    const bool inTurn = waiting_.isEmpty() || controlRequestReadsOnly(request);
    if (!inTurn || commands_.mustWait(request)) {
        waiting_.append({client, request});
        return;
    }
    respond(client, commands_.answer(request));
}

void ControlServer::answerWaiting()
{
    while (!waiting_.isEmpty() && !commands_.mustWait(waiting_.first().second)) {
        const auto [client, request] = waiting_.takeFirst();
        if (client)
            respond(client, commands_.answer(request));
    }
}

void ControlServer::respond(QLocalSocket* client, const QJsonObject& answer)
{
    if (client->state() != QLocalSocket::ConnectedState)
        return;
    client->write(controlLine(answer));
    client->flush();
}

} // namespace tarvexio
