#pragma once

#include <QStringList>

namespace tarvexio {

// The agent with its main window and tray icon, on QApplication.
int runWithWindows(const QStringList& arguments);

} // namespace tarvexio
