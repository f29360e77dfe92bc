#pragma once

#include <QString>

namespace tarvexio {

// Where the agent keeps its files: the program folder (log, configuration, default exchange
// directory) and the program file whose name the configuration file takes.
struct AgentLocation {
    QString folder;
    QString programFile;
};

} // namespace tarvexio
