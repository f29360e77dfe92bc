#include "platform/process_privacy.h"

#include <sys/resource.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tarvexio {

void keepProcessPrivate()
{
    ::umask(027);
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#ifdef __linux__
    // A core_pattern pipe (systemd-coredump) ignores the limit; this it does not.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace tarvexio
