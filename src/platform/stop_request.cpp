#include "platform/stop_request.h"

#include <atomic>

namespace tarvexio {

namespace {

std::atomic<bool> stopFlag{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

} // namespace

void requestStop() noexcept
{
    stopFlag.store(true);
}

bool stopRequested() noexcept
{
    return stopFlag.load();
}

} // namespace tarvexio
