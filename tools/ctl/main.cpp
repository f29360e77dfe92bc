// tarvexioctl: the running agent asked through its control socket, or, where none runs, the
// agent's stores worked on in its stead.
#include "agent_client.h"
#include "answer_text.h"
#include "app/argument_passwords.h"
#include "app/version.h"
#include "command_request.h"
#include "platform/process_privacy.h"
#include "platform/service_account.h"
#include "platform/terminal.h"
#include "stand_in.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

using namespace tarvexio;

namespace {

const char* const Usage = R"(Usage: tarvexioctl COMMAND [ARGUMENT]... [BAZA=DATABASE IDENT=USER]

Asks the running Tarvexio agent through its control socket: its status, its settings shown and
changed, files sent, work now, the connection test. The agent does each in its own loop, between
its ticks. The socket is found where the agent listens: TARVEXIO_CONTROL, else this user's
runtime folder, else the service's (/run/tarvexio), so "sudo tarvexioctl status" reaches the
service with nothing else given.

Where no agent runs, tarvexioctl does the same itself on the agent's stores, with the agent's
code, holding the exchange directory's lock for the whole command. The database is then named
as for the agent (BAZA= and IDENT=, else TARVEXIO_BAZA and TARVEXIO_IDENT, else the connection
remembered); run by root where the service is installed, it works as the service's user on the
service's files, with the database that /etc/default/tarvexio names.

Commands:
  status [--json]      the agent's state as a monitoring check: one summary line first
                       ("CRITICAL - 05.12.2026 not delivered: ..."), then the last exported
                       and the next day, the files waiting, the request files, failed
                       attempts, the last alerting lines; the exit status is the state's
  show [--json]        every setting as KEY=VALUE, the parameter name alongside; a password
                       only as set or unset
  get KEY              one setting
  keys [--json]        every KEY that get and set take: its parameter name, its kind and
                       values, what it means (the consent boxes among them)
  set KEY=VALUE...     changes settings, checked as the settings window checks them, all or
                       none, saved in the save mode in force; from then on what the agent uses.
                       KEY is a parameter name (ParSerwerFTP, ...) or ftp.server, ftp.port,
                       ftp.default_port, ftp.user, ftp.folder, export.dir, export.time=HH:MM,
                       export.hour, export.minute, export.last_day=YYYY-MM-DD,
                       config.save_mode, config.read_file, shop.ID.code, consent.NAME
  set ftp.password     reads the FTP password from standard input (a prompt without echo
                       on a terminal), never from the command line
  send FILE...         sends data files of the exchange directory now, through the agent's
                       own upload step (one upload at a time)
  ledger [--days N] [--json]
                       the delivery ledger of the last N days (7 without): each shop's file
                       made, its bytes, the bytes on the server, the attempts, whether the
                       day is recorded, the last cause
  send-now             the agent does its check now (a waiting file goes, a due day is
                       exported)
  test                 the connection test of the settings window
  -h, --help           print this help and exit
  --version            print the version and exit

Exit status:
  0    done, all is well; status: OK
  1    the database, the connection or a file failed, or no agent runs (send-now);
       status: WARNING (the agent starting, catching up within the rules, a retry pending,
       a request file set aside)
  2    bad arguments or settings, nothing changed; status: CRITICAL (the attempt limit
       reached, a day overdue by more than a retry period, the agent not running, a
       stored day after today)
  3    status: UNKNOWN (no database, no settings, the agent cannot be asked)
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

void fail(const QString& text)
{
    std::fprintf(stderr, "tarvexioctl: %s\n", text.toLocal8Bit().constData());
}

// No agent answers: the stores worked on in its stead, as the service's user where root runs
// it for the installed service.
// What keeps the command from being done; a status that cannot tell is UNKNOWN for a monitor,
// not a failure of the agent.
int failed(const Command& command, const QString& why)
{
    if (command.name != u"status") {
        fail(why);
        return 1;
    }
    std::printf("UNKNOWN - %s\n", why.toLocal8Bit().constData());
    return 3;
}

int standIn(const Command& command, const QJsonObject& request)
{
    QStringList names = command.names;
    if (const std::optional<ServiceAccount> service = serviceAccountForRoot()) {
        QString why;
        if (!becomeServiceUser(*service, &why))
            return failed(command, why);
        if (names.isEmpty())
            names = service->arguments;
    }
    try {
        StandIn stand;
        if (!stand.open(names))
            return failed(command, stand.error());
        return printAnswer(command, stand.answer(request));
    } catch (const std::exception& error) {
        // A table that cannot be read or written (locked, no rights): said, not a crash.
        return failed(command, QString::fromUtf8(error.what()));
    }
}

int run(const Command& command, const QJsonObject& request)
{
    AgentClient agent;
    if (agent.connect())
        return printAnswer(command, agent.ask(request));
    if (!agent.refused().isEmpty())
        return failed(command,
                      QStringLiteral("the agent's control socket %1 turned this user away: root, "
                                     "the agent's own user and its group may use it")
                          .arg(agent.refused()));
    if (command.name == u"send-now") {
        fail(QStringLiteral("no agent runs (looked at %1)").arg(agent.lookedAt().join(u", ")));
        return 1;
    }
    return standIn(command, request);
}

} // namespace

int main(int argc, char* argv[])
{
    keepProcessPrivate();
    QLoggingCategory::setFilterRules(QStringLiteral("tarvexio.*.debug=false"));
    QCoreApplication application(argc, argv);
    // The name it holds the exchange directory's lock under: an agent waits for it.
    QCoreApplication::setApplicationName(QStringLiteral("tarvexioctl"));
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
    const Command command = splitCommand(arguments);
    if (!knownCommand(command) && command.name == u"status") {
        std::printf("UNKNOWN - %s\n", qPrintable(unknownCommandText(command)));
        return 3;
    }
    if (!knownCommand(command)) {
        if (!command.name.isEmpty())
            std::fprintf(stderr, "tarvexioctl: %s\n", qPrintable(unknownCommandText(command)));
        std::fputs(Usage, stderr);
        return 2;
    }
    if (passwordOnTheLine(command)) {
        fail(QStringLiteral("a password is read from standard input, never from the command "
                            "line: give the key without \"=\". Nothing was changed."));
        return 2;
    }
    if (command.name == u"keys")
        return printKeys(command.json);
    const CommandRequest request = buildRequest(command, readPassword);
    if (!request.errors.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", request.errors.join(u'\n').toLocal8Bit().constData(),
                     command.name == u"set" ? "Nothing was changed.\n" : "");
        return 2;
    }
    return run(command, request.request);
}
