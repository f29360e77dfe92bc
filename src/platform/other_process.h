#pragma once

#include <QtGlobal>

namespace tarvexio {

// Whether a process of that id runs (a lock its process left behind names one that does not);
// where that cannot be told, true.
bool processRuns(qint64 pid);

// Asks an agent's process to do its work now (SIGUSR1); false where there are no such
// signals, or when it could not be sent.
bool askToWorkNow(qint64 pid);

} // namespace tarvexio
