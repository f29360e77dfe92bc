#include "app/process_entry.h"

#include "app/agent.h"
#include "app/guarded_application.h"
#include "app/program_folder.h"
#include "app/termination_signals.h"
#include "app/version.h"
#include "platform/headless_dialogs.h"
#include "transport/curl_ftp_client.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <cstdio>

namespace tarvexio {

bool ClaimSingleInstance(SingleInstance& instance, Dialogs& dialogs)
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

bool HeadlessRequested()
{
    if (qEnvironmentVariable("TARVEXIO_HEADLESS") == u"1")
        return true;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

std::unique_ptr<Agent> CreateProcessAgent(const QStringList& arguments, SystemPorts& ports,
                                          Dialogs& dialogs)
{
    auto agent = std::make_unique<Agent>(
        arguments,
        AgentPorts{ports.clock, dialogs, ports.privileges, *ports.autostart,
                   [] { return std::make_unique<CurlFtpClient>(); }, *ports.dialUp},
        AgentLocation{ProgramFolder(), QCoreApplication::applicationFilePath()},
        QString::fromLatin1(TARVEXIO_VERSION));
    QObject::connect(
        agent.get(), &Agent::terminateRequested, qApp,
        [](int code) { QCoreApplication::exit(code); }, Qt::QueuedConnection);
    return agent;
}

int RunHeadless(const QStringList& arguments)
{
    SystemPorts ports;
    HeadlessDialogs dialogs;
    if (!ClaimSingleInstance(ports.instance, dialogs))
        return 0;

    const std::unique_ptr<Agent> process = CreateProcessAgent(arguments, ports, dialogs);
    Agent& agent = *process;
    dialogs.setLogSink([&agent](const QString& line) { agent.WriteLog(line); });
    SetEventErrorReport([&agent](const std::exception& error) { agent.ShowException(error); });
    const auto unset = qScopeGuard([] { SetEventErrorReport({}); });
    agent.log().setEcho([](const QString& line) {
        std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    });
    TerminationSignals stopSignals;
    QObject::connect(&stopSignals, &TerminationSignals::terminationRequested, &agent,
                     [&agent] { agent.Terminate(0); });
    QObject::connect(&agent, &Agent::startTimerDone, &agent, [&agent, &dialogs] {
        if (agent.terminating())
            return;
        if (!agent.model().flags().tray) {
            // Started without names: nobody can look at a window, so it goes to work at once.
            agent.Close();
            return;
        }
        if (!agent.scheduler().isRunning()) {
            dialogs.MsgBox({QStringLiteral("Agent nie ma nic do zrobienia: sprawdź parametry "
                                           "wywołania (BAZA= i IDENT=)."),
                            QStringLiteral("Tarvexio")});
            agent.Terminate(2);
        }
    });

    agent.ShowWindow();
    agent.start();
    return QCoreApplication::exec();
}

} // namespace tarvexio
