#include "platform/process_signals.h"

namespace tarvexio {

// No POSIX signals here: the tray's "Zakończ" and the window end the program.
ProcessSignals::ProcessSignals(QObject* parent)
    : QObject(parent)
{}

ProcessSignals::~ProcessSignals() = default;

} // namespace tarvexio
