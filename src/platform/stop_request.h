#pragma once

namespace tarvexio {

// The process has been asked to end (SIGTERM, SIGINT). Set from a signal handler, so it is
// one lock-free flag; work that blocks the event loop (a transfer, a pause) polls it and
// gives up early, so that the agent ends in order within seconds.
void requestStop() noexcept;
bool stopRequested() noexcept;

} // namespace tarvexio
