#pragma once

#include "app/command_help.h"
#include "platform/autostart_store.h"
#include "platform/clock.h"
#include "platform/privileges.h"
#include "platform/single_instance.h"
#include "transport/dial_up_backend.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace tarvexio {

class Agent;
class Dialogs;
class ProcessSignals;

// The real ports of this machine but the dialogs, which depend on whether there is a display.
struct SystemPorts {
    SystemClock clock;
    Privileges privileges;
    std::unique_ptr<AutostartStore> autostart = createSystemAutostartStore();
    std::unique_ptr<DialUpBackend> dialUp = createSystemDialUpBackend();
    SingleInstance instance;
};

// The agent of this process: files in the program folder, the event loop ending with its exit
// code when it terminates.
std::unique_ptr<Agent> createProcessAgent(const QStringList& arguments, SystemPorts& ports,
                                          Dialogs& dialogs);

// Refuses a second agent with its message; false when this process must leave (exit code 0).
bool claimSingleInstance(SingleInstance& instance, Dialogs& dialogs);

// Before any application object (--help needs no display): the process made private (no
// core dumps, umask 027), and the exit code when the arguments ask only for help or version.
std::optional<int> prepareProcess(int argc, char* argv[], AgentProgram program);

// The arguments after the program's name, taken once the application object exists; the
// database password is then wiped from the process's own command line.
QStringList takeArguments(int argc, char* argv[]);

// Whether the agent runs without widgets: TARVEXIO_HEADLESS=1, or no display on Linux.
bool headlessRequested();

// The agent on QCoreApplication: dialogs and log lines go to stderr/stdout, signals end it.
int runHeadless(const QStringList& arguments);

// The process around its agent: SIGTERM and SIGINT end it in order, SIGHUP reads its settings
// again, and its control socket opens before anything else. False when another agent answers
// on that socket: this process must leave (exit code 0), as a second instance does.
bool attachProcess(Agent& agent, ProcessSignals& processSignals, Dialogs& dialogs);

} // namespace tarvexio
