#pragma once

#include <QString>

namespace tarvexio {

// The program file's name without the extension a program file has here (".exe" on Windows,
// none elsewhere): what the configuration file is named after.
QString programBaseName(const QString& programFilePath);

} // namespace tarvexio
