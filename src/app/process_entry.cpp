#include "app/process_entry.h"

#include "app/agent.h"
#include "app/argument_passwords.h"
#include "app/command_line.h"
#include "app/guarded_application.h"
#include "app/program_folder.h"
#include "app/version.h"
#include "platform/control_socket_place.h"
#include "platform/headless_dialogs.h"
#include "platform/process_environment.h"
#include "platform/process_privacy.h"
#include "platform/process_signals.h"
#include "platform/service_notify.h"
#include "transport/curl_ftp_client.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QScopeGuard>
#include <QTimer>

#include <cstdio>

namespace tarvexio {

bool claimSingleInstance(SingleInstance& instance, Dialogs& dialogs)
{
    const char* refusal = nullptr;
    switch (instance.acquire()) {
    case SingleInstance::Result::Acquired:
        return true;
    case SingleInstance::Result::AlreadyRunning:
        refusal = "Aplikacja jest już uruchomiona";
        break;
    case SingleInstance::Result::Failed:
        refusal = "Błąd utworzenia mutex";
        break;
    }
    dialogs.MsgBox({QString::fromUtf8(refusal), QStringLiteral("Tarvexio")});
    return false;
}

std::optional<int> prepareProcess(int argc, char* argv[], AgentProgram program)
{
    keepProcessPrivate();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString information = informationRequested(arguments, program);
    if (!information.isEmpty()) {
        std::fputs(information.toLocal8Bit().constData(), stdout);
        return 0;
    }
    // A service's command line is read by nobody else: a key it does not know is a mistake to
    // be mended, not one to be passed over.
    const QStringList unknown = unknownArguments(arguments);
    if (program != AgentProgram::Daemon || unknown.isEmpty())
        return std::nullopt;
    for (const QString& argument : unknown) {
        const QString nearest = nearestKey(argument);
        std::fprintf(
            stderr, "tarvexiod: unknown argument '%s'%s\n", argument.toLocal8Bit().constData(),
            nearest.isEmpty()
                ? ""
                : QStringLiteral(" (did you mean %1?)").arg(nearest).toLocal8Bit().constData());
    }
    std::fputs("Try 'tarvexiod --help'.\n", stderr);
    return 2;
}

QStringList takeArguments(int argc, char* argv[])
{
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    hideDatabasePasswordsInArguments(argc, argv);
    return arguments;
}

bool headlessRequested()
{
    return qEnvironmentVariable("TARVEXIO_HEADLESS") == u"1" || noDisplay();
}

std::unique_ptr<Agent> createProcessAgent(const QStringList& arguments, SystemPorts& ports,
                                          Dialogs& dialogs)
{
    auto agent = std::make_unique<Agent>(
        arguments,
        AgentPorts{ports.clock, dialogs, ports.privileges, *ports.autostart,
                   [] { return std::make_unique<CurlFtpClient>(); }, *ports.dialUp},
        AgentLocation{programFolder(), agentProgramFile()}, QString::fromLatin1(TARVEXIO_VERSION));
    QObject::connect(
        &agent->window(), &WindowAndTray::terminateRequested, qApp,
        [](int code) { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    return agent;
}

bool attachProcess(Agent& agent, ProcessSignals& processSignals, Dialogs& dialogs)
{
    QObject::connect(&processSignals, &ProcessSignals::terminationRequested, &agent,
                     [&agent](const QString& signalName) {
                         agent.window().terminate(QStringLiteral("sygnał ") + signalName);
                     });
    QObject::connect(&processSignals, &ProcessSignals::reloadRequested, &agent,
                     [&agent] { agent.operatorRequests().reloadSettings(); });
    QString why;
    switch (agent.control().listen(controlSocketPath(), &why)) {
    case ControlServer::Listening::Yes:
        return true;
    case ControlServer::Listening::TakenByAnother:
        dialogs.MsgBox(
            {QStringLiteral("Aplikacja jest już uruchomiona"), QStringLiteral("Tarvexio")});
        return false;
    case ControlServer::Listening::Failed:
        break;
    }
    // The agent works on; tarvexioctl cannot reach it, and says so.
    agent.log().WriteLog(QStringLiteral("Nie można otworzyć gniazda sterującego: ") + why, true);
    return true;
}

// Under systemd each line reaches the journal once, with its priority and without the log
// file's date and time, which the journal has; otherwise stdout gets the log file's lines.
void echoLogLines(Agent& agent, HeadlessDialogs& dialogs)
{
    const bool journal = stdoutIsJournal();
    if (journal) // the log line says the same; a log that cannot be opened is still told
        QLoggingCategory::setFilterRules(
            QStringLiteral("tarvexio.*.debug=false\ntarvexio.db.warning=false"));
    dialogs.setLogSink(
        [&agent](const QString& line, bool alert) { agent.log().WriteLog(line, alert); }, !journal);
    agent.log().setEcho([journal](const QString& line, const QString& text, LineMeaning meaning) {
        const QByteArray out = journal ? journalLine(text, meaning) : line.toLocal8Bit();
        std::fprintf(stdout, "%s\n", out.constData());
        std::fflush(stdout);
    });
}

int runHeadless(const QStringList& arguments)
{
    SystemPorts ports;
    HeadlessDialogs dialogs;
    if (!claimSingleInstance(ports.instance, dialogs))
        return 0;

    const std::unique_ptr<Agent> process = createProcessAgent(arguments, ports, dialogs);
    Agent& agent = *process;
    echoLogLines(agent, dialogs);
    setEventErrorReport(
        [&agent](const std::exception& error) { agent.errors().showException(error); });
    const auto unset = qScopeGuard([] { setEventErrorReport({}); });
    ProcessSignals processSignals;
    if (!attachProcess(agent, processSignals, dialogs))
        return 0;
    // Listening, it can be asked: the service is up. The watchdog's pings come from the event
    // loop, so a tick that hangs stops them and the manager restarts the service.
    notifyServiceManager("READY=1");
    QTimer watchdog;
    if (const int ping = watchdogPingMs(); ping > 0) {
        QObject::connect(&watchdog, &QTimer::timeout, [] { notifyServiceManager("WATCHDOG=1"); });
        watchdog.start(ping);
    }
    QObject::connect(&agent.startUp(), &AgentStart::startTimerDone, &agent, [&agent, &dialogs] {
        if (agent.window().terminating())
            return;
        if (!agent.model().flags().tray) {
            // Started without names: nobody can look at a window, so it goes to work at once.
            agent.window().Close();
            return;
        }
        if (agent.startUp().startFailure() == AgentStart::StartFailure::BadArgument) {
            agent.window().terminate(QStringLiteral("błędny argument wywołania"), 2);
            return;
        }
        if (!agent.scheduler().isRunning()) {
            dialogs.MsgBox({QStringLiteral("Agent nie ma nic do zrobienia: sprawdź parametry "
                                           "wywołania (BAZA= i IDENT=)."),
                            QStringLiteral("Tarvexio"), MessageButtons::Ok, MessageIcon::Error});
            agent.window().terminate(QStringLiteral("nic do zrobienia"), 2);
        }
    });

    agent.window().showWindow();
    agent.startUp().start();
    const int code = QCoreApplication::exec();
    notifyServiceManager("STOPPING=1");
    // A start that cannot work must not look like a clean end to a service manager.
    switch (agent.startUp().startFailure()) {
    case AgentStart::StartFailure::NoNames:
    case AgentStart::StartFailure::BadArgument:
        return 2;
    case AgentStart::StartFailure::DatabaseRefused:
        return 1;
    case AgentStart::StartFailure::None:
        break;
    }
    return code;
}

} // namespace tarvexio
