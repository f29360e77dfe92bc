#include "transport/network_manager_dial_up.h"

#include <QProcess>
#include <QTemporaryFile>

namespace tarvexio {

namespace {

constexpr int DialTimeoutMs = 120000;

NetworkManagerDialUp::Result runNmcli(const QStringList& arguments)
{
    QProcess nmcli;
    nmcli.start(QStringLiteral("nmcli"), arguments);
    if (!nmcli.waitForFinished(DialTimeoutMs)) {
        nmcli.kill();
        nmcli.waitForFinished();
        return {};
    }
    if (nmcli.exitStatus() != QProcess::NormalExit)
        return {};
    return {nmcli.exitCode(), QString::fromUtf8(nmcli.readAllStandardOutput())};
}

QStringList lines(const QString& output)
{
    return output.split(u'\n', Qt::SkipEmptyParts);
}

// The secret a profile of this kind asks for when it comes up.
QString passwordSetting(const QString& type)
{
    if (type == u"vpn")
        return QStringLiteral("vpn.secrets.password");
    return type + QStringLiteral(".password"); // gsm, cdma, pppoe
}

} // namespace

NetworkManagerDialUp::NetworkManagerDialUp(Runner runner)
    : run_(runner ? std::move(runner) : Runner(&runNmcli))
{}

QStringList NetworkManagerDialUp::terseFields(const QString& line)
{
    QStringList fields{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'\\' && i + 1 < line.size()) {
            fields.last() += line[++i];
        } else if (line[i] == u':') {
            fields << QString();
        } else {
            fields.last() += line[i];
        }
    }
    return fields;
}

bool NetworkManagerDialUp::isDialKind(const QString& type)
{
    return type == u"gsm" || type == u"cdma" || type == u"pppoe" || type == u"vpn";
}

std::optional<int> NetworkManagerDialUp::activeConnections()
{
    const Result result = run_({"-t", "-f", "NAME,TYPE", "connection", "show", "--active"});
    if (result.exitCode != 0)
        return std::nullopt;
    int count = 0;
    for (const QString& line : lines(result.output)) {
        const QStringList fields = terseFields(line);
        if (fields.size() >= 2 && isDialKind(fields[1]))
            ++count;
    }
    return count;
}

DialUpBackend::Dialled NetworkManagerDialUp::dial(const QString& /*phonebook*/,
                                                  const QString& entry, const QString& /*user*/,
                                                  const QString& password)
{
    QStringList arguments{"--wait", QString::number(DialTimeoutMs / 1000), "connection", "up", "id",
                          entry};
    // The password goes through a file of the user's own, never the command line.
    QTemporaryFile secrets;
    if (!password.isEmpty()) {
        const Result type =
            run_({"-t", "-g", "connection.type", "connection", "show", "id", entry});
        if (secrets.open()) {
            secrets.write(
                (passwordSetting(type.output.trimmed()) + u':' + password + u'\n').toUtf8());
            secrets.flush();
            arguments << "passwd-file" << secrets.fileName();
        }
    }
    // Even when nmcli gives up waiting, the link may come up later: the caller hangs it up.
    const Result result = run_(arguments);
    return {result.exitCode == 0, entry};
}

std::optional<DialUpBackend::State> NetworkManagerDialUp::Status(const QString& handle)
{
    const Result result = run_({"-t", "-g", "GENERAL.STATE", "connection", "show", "id", handle});
    if (result.exitCode != 0)
        return std::nullopt;
    const QString state = result.output.trimmed();
    if (state == u"activated")
        return State::Connected;
    if (state.isEmpty() || state == u"deactivated")
        return State::Disconnected;
    return State::Other;
}

bool NetworkManagerDialUp::hangUp(const QString& handle)
{
    return run_({"connection", "down", "id", handle}).exitCode == 0;
}

std::optional<QStringList> NetworkManagerDialUp::entries(const QString& /*phonebook*/)
{
    const Result result = run_({"-t", "-f", "NAME,TYPE", "connection", "show"});
    if (result.exitCode != 0)
        return std::nullopt;
    QStringList entries;
    for (const QString& line : lines(result.output)) {
        const QStringList fields = terseFields(line);
        if (fields.size() >= 2 && isDialKind(fields[1]))
            entries << fields[0];
    }
    return entries;
}

} // namespace tarvexio
