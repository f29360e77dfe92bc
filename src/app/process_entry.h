#pragma once

#include "platform/autostart_store.h"
#include "platform/clock.h"
#include "platform/privileges.h"
#include "platform/single_instance.h"
#include "transport/dial_up_backend.h"

#include <QStringList>

#include <memory>

namespace tarvexio {

class Agent;
class Dialogs;

// The real ports of this machine but the dialogs, which depend on whether there is a display.
struct SystemPorts {
    SystemClock clock;
    Privileges privileges;
    std::unique_ptr<AutostartStore> autostart = CreateSystemAutostartStore();
    std::unique_ptr<DialUpBackend> dialUp = CreateSystemDialUpBackend();
    SingleInstance instance;
};

// The agent of this process: files in the program folder, the event loop ending with its exit
// code when it terminates.
std::unique_ptr<Agent> CreateProcessAgent(const QStringList& arguments, SystemPorts& ports,
                                          Dialogs& dialogs);

// Refuses a second agent with its message; false when this process must leave (exit code 0).
bool ClaimSingleInstance(SingleInstance& instance, Dialogs& dialogs);

// Whether the agent runs without widgets: TARVEXIO_HEADLESS=1, or no display on Linux.
bool HeadlessRequested();

// The agent on QCoreApplication: dialogs and log lines go to stderr/stdout, signals end it.
int RunHeadless(const QStringList& arguments);

} // namespace tarvexio
