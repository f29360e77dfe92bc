#pragma once

#include <QString>

namespace tarvexio {

// The folder of the log, the configuration file and the default exchange directory:
// TARVEXIO_HOME when set; else the program file's folder when this user can write there (a
// build, a Windows install); else, for a program installed in a system folder, the user's data
// folder (~/.local/share/tarvexio), made private to the user when it is new.
QString programFolder();

// The windowed program's file, which names the configuration file and which the autostart
// entry starts: the daemon and the operator's tools share them with the program beside them.
QString agentProgramFile();

} // namespace tarvexio
