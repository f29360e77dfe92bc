#include "platform/process_privacy.h"

namespace tarvexio {

// The user's profile is private already, and Windows writes no core dumps of its own.
void keepProcessPrivate() {}

} // namespace tarvexio
