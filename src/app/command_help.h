#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

enum class AgentProgram { Windowed, Daemon };

// The agent's usage, with its arguments, environment and exit statuses; the manual page is
// made from it.
QString agentUsage(AgentProgram program);

// What --help, -h or --version anywhere among the arguments asks to print (the program then
// exits 0 whatever else was given); empty when none of them is there.
QString informationRequested(const QStringList& arguments, AgentProgram program);

} // namespace tarvexio
