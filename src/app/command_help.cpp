#include "app/command_help.h"

#include "app/version.h"

namespace tarvexio {

namespace {

// What both programs share: the standard options, the environment and the exit statuses.
QString commonUsage()
{
    return QStringLiteral(
        "  -h, --help           print this help and exit\n"
        "  --version            print the version and exit\n"
        "\n"
        "Environment:\n"
        "  TARVEXIO_BAZA, TARVEXIO_IDENT\n"
        "                       the database and user when the command line names none; a\n"
        "                       password kept here stays out of the process list\n"
        "  TARVEXIO_HOME        the folder of the log, the configuration file and the default\n"
        "                       exchange directory (default: the program's folder, or\n"
        "                       ~/.local/share/tarvexio for an installed program)\n"
        "  TARVEXIO_CA_FILE     a private authority's certificates for ftps:// servers\n"
        "  PGPASSFILE           libpq's password file (default ~/.pgpass)\n"
        "  NOTIFY_SOCKET, WATCHDOG_USEC\n"
        "                       systemd's: READY=1 once listening, STATUS= after each check,\n"
        "                       WATCHDOG=1 from the event loop, STOPPING=1 on the way out\n"
        "\n"
        "Exit status:\n"
        "  0    ended in order (SIGTERM, SIGINT, \"Zakończ\"), or another agent already runs\n"
        "  1    the database refused the first connection (without windows)\n"
        "  2    nothing to do: no database or user name, a bad number (without windows), or\n"
        "       an argument tarvexiod does not know (the desktop program logs and skips it)\n");
}

} // namespace

QString agentUsage(AgentProgram program)
{
    const bool windowed = program == AgentProgram::Windowed;
    QString usage =
        windowed
            ? QStringLiteral("Usage: tarvexio [BAZA=DATABASE IDENT=USER] [KEY=VALUE]... [TEST]\n"
                             "\n"
                             "Writes one data file per shop and day from a retail chain's "
                             "back-office database, uploads the files to the data-collection "
                             "service's FTP server and sends again the days it asks for. With "
                             "BAZA= and IDENT= it works unattended in the notification area; "
                             "without them its settings window opens. With no display, or with "
                             "TARVEXIO_HEADLESS=1, it runs as tarvexiod does.\n")
            : QStringLiteral("Usage: tarvexiod BAZA=DATABASE IDENT=USER [KEY=VALUE]...\n"
                             "\n"
                             "The Tarvexio agent without windows, as the system service runs "
                             "it: writes one data file per shop and day from a retail chain's "
                             "back-office database, uploads the files to the data-collection "
                             "service's FTP server and sends again the days it asks for. "
                             "SIGTERM and SIGINT end it in order.\n");
    usage += QStringLiteral(
        "\n"
        "Arguments:\n"
        "  BAZA=DATABASE        a SQLite file; "
        "postgresql://[user@]host[:port]/dbname[?sslmode=...]\n"
        "                       (libpq's options after \"?\"); or odbc:DSN=... or odbc:Driver=...\n"
        "  IDENT=USER           the user identifier, and the database user where the name has "
        "none\n"
        "  PIERWSZE_POLACZENIE_PO_N_S=SECONDS\n"
        "                       seconds to the first connection (default 180)\n"
        "  SPRAWDAJ_CO_N_H=HOURS\n"
        "                       hours between checks, \"1,5\" or \"1.5\" (default 30 seconds)\n"
        "  PONAWIAJ_PROBE_WYSLANIA_CO_N_H=HOURS\n"
        "                       hours between upload retries (default 15 minutes)\n"
        "  MAX_LICZBA_PROBFTP=N\n"
        "                       upload attempts before the last-attempt alert (default 5)\n");
    if (windowed)
        usage += QStringLiteral(
            "  TEST                 the settings window with the connection-test button\n");
    return usage + commonUsage();
}

QString informationRequested(const QStringList& arguments, AgentProgram program)
{
    const QString name = program == AgentProgram::Windowed ? QStringLiteral("tarvexio")
                                                           : QStringLiteral("tarvexiod");
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return agentUsage(program);
    if (arguments.contains(QStringLiteral("--version")))
        return name + u' ' + QLatin1StringView(TARVEXIO_VERSION) + u'\n';
    return {};
}

} // namespace tarvexio
