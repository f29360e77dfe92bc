#pragma once

#include <QStringList>

namespace tarvexio {

class Dialogs;
class SingleInstance;

// Refuses a second agent with its message; false when this process must leave (exit code 0).
bool ClaimSingleInstance(SingleInstance& instance, Dialogs& dialogs);

// Whether the agent runs without widgets: TARVEXIO_HEADLESS=1, or no display on Linux.
bool HeadlessRequested();

// The agent on QCoreApplication: dialogs and log lines go to stderr/stdout, signals end it.
int RunHeadless(const QStringList& arguments);

} // namespace tarvexio
