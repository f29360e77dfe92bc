// tarvexioctl: the agent's settings, connection test and "send now" without a window.
#include "agent_settings.h"
#include "app/argument_passwords.h"
#include "app/version.h"
#include "config/setting_definitions.h"
#include "connection_test.h"
#include "platform/process_privacy.h"
#include "platform/terminal.h"
#include "running_agent.h"
#include "send_files.h"
#include "settings_commands.h"
#include "status_command.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace tarvexio;

namespace {

const char* const Usage = R"(Usage: tarvexioctl COMMAND [BAZA=DATABASE IDENT=USER] [ARGUMENT]...

Shows and changes the Tarvexio agent's settings, tests its FTP connection and asks it to send
now, without its window: on the stores the agent reads and with the agent's own code. The
database is named as for the agent (BAZA= and IDENT=, else TARVEXIO_BAZA and TARVEXIO_IDENT,
else the connection remembered); the configuration file and the exchange directory are in the
agent's program folder (TARVEXIO_HOME for the service: run it as the service's user with
TARVEXIO_HOME=/var/lib/tarvexio).

Commands:
  show [--json]        every setting from the store the agent reads; a password only as
                       set or unset, the last exported day also as a date
  set KEY=VALUE...     changes settings, checked as the settings window checks them, all or
                       none, saved in the record's save mode; KEY is a parameter name
                       (ParSerwerFTP, ...) or ftp.server, ftp.port, ftp.default_port,
                       ftp.user, ftp.folder, export.dir, export.time=HH:MM, export.hour,
                       export.minute, export.last_day=YYYY-MM-DD, config.save_mode,
                       config.read_file, shop.ID.code, consent.NAME
  set ftp.password     reads the FTP password from standard input (a prompt without echo
                       on a terminal), never from the command line
  status [--json]      whether an agent runs, the last exported and the next day, the files
                       waiting and the request files, failed attempts, the last alerting
                       lines; exit status 1 when an alert is active (the attempt limit
                       reached, a day overdue, a request file set aside)
  test                 the connection test of the settings window
  send FILE...         sends data files now through the agent's FTP job, one job a file;
                       the agent drops a delivered file from its list at its next check
  send-now             asks the agent running on this exchange directory to do its check
                       now (a waiting file goes, a due day is exported)
  -h, --help           print this help and exit
  --version            print the version and exit

Exit status:
  0    done, all is well
  1    the database, the connection or a file failed, no agent runs (send-now), or an
       alert is active (status)
  2    bad arguments or settings; nothing was changed
)";

// A line from standard input; on a terminal, after the prompt and without echo. One stream
// for every read, so a second password piped in is not lost in the first one's buffer.
QString readPassword(const QString& prompt)
{
    static QTextStream in(stdin);
    if (!stdinIsTerminal())
        return in.readLine();
    std::fprintf(stderr, "%s", prompt.toLocal8Bit().constData());
    const HiddenInput hidden;
    return in.readLine();
}

// A command line split: the database's names (from anywhere on the line, as the agent takes
// them), the command and what follows it.
struct Command {
    QStringList names;
    QString name;
    QStringList rest;
    bool json = false;
};

Command split(const QStringList& arguments)
{
    Command command;
    static const QRegularExpression name(QStringLiteral("^(BAZA|IDENT)="),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& argument : arguments)
        (name.match(argument).hasMatch() ? command.names : command.rest) << argument;
    command.name = command.rest.value(0);
    command.rest = command.rest.mid(1);
    command.json = command.rest == QStringList{QStringLiteral("--json")};
    return command;
}

bool known(const Command& c)
{
    return ((c.name == u"show" || c.name == u"status") && (c.rest.isEmpty() || c.json)) ||
           ((c.name == u"set" || c.name == u"send") && !c.rest.isEmpty()) ||
           ((c.name == u"test" || c.name == u"send-now") && c.rest.isEmpty());
}

// A password typed on the command line is refused before anything else is done.
bool passwordOnTheLine(const Command& command)
{
    return command.name == u"set" &&
           std::any_of(command.rest.begin(), command.rest.end(), [](const QString& argument) {
               const std::optional<FoundSetting> setting =
                   findSetting(argument.section(u'=', 0, 0));
               return argument.contains(u'=') && setting &&
                      setting->definition.kind == SettingKind::Password;
           });
}

int run(const Command& command)
{
    try {
        AgentSettings settings;
        if (!settings.Open(command.names)) {
            std::fprintf(stderr, "tarvexioctl: %s\n", settings.error().toLocal8Bit().constData());
            return 1;
        }
        if (command.name == u"show")
            return showSettings(settings, command.json);
        if (command.name == u"set")
            return setSettings(settings, command.rest, readPassword);
        if (command.name == u"status")
            return showStatus(settings, command.json);
        if (command.name == u"send")
            return sendFiles(settings, command.rest);
        if (command.name == u"test")
            return testConnection(settings);
        return sendNow(settings);
    } catch (const std::exception& error) {
        // A table that cannot be read or written (locked, no rights): said, not a crash.
        std::fprintf(stderr, "tarvexioctl: %s\n", error.what());
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    keepProcessPrivate();
    QLoggingCategory::setFilterRules(QStringLiteral("tarvexio.*.debug=false"));
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvexio"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvexio"));
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    hideDatabasePasswordsInArguments(argc, argv);

    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        std::printf("tarvexioctl %s\n", TARVEXIO_VERSION);
        return 0;
    }
    const Command command = split(arguments);
    if (!known(command)) {
        if (!command.name.isEmpty())
            std::fputs("tarvexioctl: unknown command or arguments\n", stderr);
        std::fputs(Usage, stderr);
        return 2;
    }
    if (passwordOnTheLine(command)) {
        std::fputs("tarvexioctl: a password is read from standard input, never from the command "
                   "line: give the key without \"=\". Nothing was changed.\n",
                   stderr);
        return 2;
    }
    return run(command);
}
