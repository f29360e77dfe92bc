#include "command_request.h"

#include "app/command_line.h"
#include "app/control_protocol.h"
#include "app/setting_changes.h"
#include "config/setting_definitions.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>

namespace tarvexio {

namespace {

bool isPassword(const QString& key)
{
    const std::optional<FoundSetting> setting = findSetting(key);
    return setting && setting->definition.kind == SettingKind::Password;
}

CommandRequest setRequest(const QStringList& assignments,
                          const std::function<QString(const QString&)>& readPassword)
{
    CommandRequest made;
    QJsonArray settings;
    QJsonArray passwords;
    for (const QString& assignment : assignments) {
        const QString key = assignment.section(u'=', 0, 0);
        if (assignment.contains(u'=')) {
            settings << QJsonArray{key, assignment.section(u'=', 1)};
        } else if (isPassword(key)) {
            const QString password = readPassword(key + QStringLiteral(": "));
            if (password.isEmpty())
                made.errors << QStringLiteral("%1: no password given").arg(key);
            passwords << QJsonArray{key, password};
        } else if (findSetting(key) || key == ExportTimeKey) {
            made.errors << QStringLiteral("%1: expected %1=VALUE").arg(key);
        } else {
            // A bare word may be a password typed in the wrong place: it is not repeated.
            made.errors << QStringLiteral("an argument without \"=\" that names no setting");
        }
    }
    made.request =
        controlRequest(QStringLiteral("set"), {{QStringLiteral("settings"), settings},
                                               {QStringLiteral("passwords"), passwords}});
    return made;
}

} // namespace

Command splitCommand(const QStringList& arguments)
{
    Command command;
    static const QRegularExpression name(QStringLiteral("^(BAZA|IDENT)="),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& argument : arguments)
        (name.match(argument).hasMatch() ? command.names : command.rest) << argument;
    command.name = command.rest.value(0);
    command.rest = command.rest.mid(1);
    command.json = command.rest.contains(QStringLiteral("--json"));
    return command;
}

bool knownCommand(const Command& c)
{
    return ((c.name == u"show" || c.name == u"status" || c.name == u"keys") &&
            (c.rest.isEmpty() || c.rest == QStringList{QStringLiteral("--json")})) ||
           c.name == u"ledger" || ((c.name == u"set" || c.name == u"send") && !c.rest.isEmpty()) ||
           (c.name == u"get" && c.rest.size() == 1) ||
           ((c.name == u"test" || c.name == u"send-now") && c.rest.isEmpty());
}

QString unknownCommandText(const Command& command)
{
    static const QStringList names{"status",   "show", "get",    "set", "send",
                                   "send-now", "test", "ledger", "keys"};
    if (names.contains(command.name))
        return QStringLiteral("wrong arguments for %1: %2")
            .arg(command.name, command.rest.join(u' '));
    const QString nearest = nearestWord(command.name, names);
    return QStringLiteral("unknown command '%1'%2")
        .arg(command.name,
             nearest.isEmpty() ? QString() : QStringLiteral(" (did you mean %1?)").arg(nearest));
}

bool passwordOnTheLine(const Command& command)
{
    return command.name == u"set" &&
           std::any_of(command.rest.begin(), command.rest.end(), [](const QString& argument) {
               return argument.contains(u'=') && isPassword(argument.section(u'=', 0, 0));
           });
}

CommandRequest buildRequest(const Command& command,
                            const std::function<QString(const QString&)>& readPassword)
{
    if (command.name == u"set")
        return setRequest(command.rest, readPassword);
    if (command.name == u"get")
        return {controlRequest(command.name, {{QStringLiteral("key"), command.rest.front()}}), {}};
    if (command.name == u"ledger") {
        QStringList rest = command.rest;
        rest.removeAll(QStringLiteral("--json"));
        bool number = rest.isEmpty();
        const int days =
            rest.size() == 2 && rest.front() == u"--days" ? rest.back().toInt(&number) : 7;
        if (!number || days < 1)
            return {{},
                    {QStringLiteral("ledger takes --days N (a number of days, 1 or more) and "
                                    "--json")}};
        return {controlRequest(command.name, {{QStringLiteral("days"), days}}), {}};
    }
    if (command.name == u"send") {
        QJsonArray files;
        for (const QString& file : command.rest)
            files << QFileInfo(file).absoluteFilePath();
        return {controlRequest(command.name, {{QStringLiteral("files"), files}}), {}};
    }
    return {controlRequest(command.name), {}};
}

} // namespace tarvexio
