#pragma once

#include <QString>

namespace tarvexio {

// The folder of the log, the configuration file and the default exchange directory: the
// program file's folder, or TARVEXIO_HOME when set (packaged installs and the service).
QString ProgramFolder();

} // namespace tarvexio
