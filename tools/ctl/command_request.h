#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace tarvexio {

// A command line of tarvexioctl split: the database's names (from anywhere on the line, as the
// agent takes them), the command and what follows it.
struct Command {
    QStringList names;
    QString name;
    QStringList rest;
    bool json = false;
};

Command splitCommand(const QStringList& arguments);
bool knownCommand(const Command& command);
// What is wrong with a command that is not known: its name (with the nearest one), or its
// arguments.
QString unknownCommandText(const Command& command);
// A password typed on the command line, which is refused before anything else is done.
bool passwordOnTheLine(const Command& command);

// The request of the agent's protocol that the command makes, or errors() says why it cannot
// be made. A password that set names is read here (a prompt without echo, or standard input),
// before the agent or the stores are reached, so a slow typist holds nothing up.
struct CommandRequest {
    QJsonObject request;
    QStringList errors;
};
CommandRequest buildRequest(const Command& command,
                            const std::function<QString(const QString& prompt)>& readPassword);

} // namespace tarvexio
