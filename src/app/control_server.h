#pragma once

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QPointer>

class QLocalSocket;

namespace tarvexio {

class EventLog;

// What the control socket asks of the agent.
class ControlCommands {
public:
    virtual ~ControlCommands() = default;
    // The answer to one request of the protocol spoken here.
    virtual QJsonObject answer(const QJsonObject& request) = 0;
    // The request waits for work under way (the start, a tick, a manual export) to end.
    virtual bool mustWait(const QJsonObject& request) const = 0;
};

// The agent's control socket: root, the agent's own user and members of its group may talk to
// it (the socket's mode 0660, the peer's credentials checked); one JSON request a line, one
// answer a line. Nothing a client sends or fails to send holds the agent up: a line that is
// not JSON or is too long gets an error answer, a client silent for a while is let go.
class ControlServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int SilentClientMs = 30000;

    ControlServer(ControlCommands& commands, EventLog& log, QObject* parent = nullptr);
    ~ControlServer() override;

    enum class Listening { Yes, TakenByAnother, Failed };
    // Listens at path (a socket an agent that ended left behind is taken over); why says what
    // stood in the way when it does not.
    Listening listen(const QString& path, QString* why);
    QString path() const { return server_.fullServerName(); }

    // The requests that waited for work to end are answered now, in their order.
    void answerWaiting();

private:
    void accept();
    void read(QLocalSocket* client);
    void take(QLocalSocket* client, const QByteArray& line);
    void respond(QLocalSocket* client, const QJsonObject& answer);

    ControlCommands& commands_;
    EventLog& log_;
    QHash<QLocalSocket*, QByteArray> buffers_;
    QList<QPair<QPointer<QLocalSocket>, QJsonObject>> waiting_;
    // Last, so that it goes first: its clients' ends still find their buffers.
    QLocalServer server_;
};

} // namespace tarvexio
