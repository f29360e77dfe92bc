#include "platform/stop_request.h"

#include <atomic>

namespace tarvexio {

namespace {

std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

} // namespace

void RequestStop() noexcept
{
    stopRequested.store(true);
}

bool StopRequested() noexcept
{
    return stopRequested.load();
}

} // namespace tarvexio
