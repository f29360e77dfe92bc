#include "app/process_privacy.h"

#include "db/database_name.h"

#include <QByteArray>
#include <QString>

#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace tarvexio {

void KeepProcessPrivate()
{
#ifdef Q_OS_UNIX
    ::umask(027);
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
#endif
#ifdef Q_OS_LINUX
    // A core_pattern pipe (systemd-coredump) ignores the limit; this it does not.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

void HideDatabasePasswordsInArguments(int argc, char* argv[])
{
    const QByteArray key("BAZA=");
    for (int i = 1; i < argc; ++i) {
        char* argument = argv[i];
        const std::size_t length = std::strlen(argument);
        if (length < std::size_t(key.size()) || qstrnicmp(argument, key.constData(), key.size()))
            continue;
        const QString name = QString::fromLocal8Bit(argument + key.size());
        const QByteArray kept = DatabaseNameWithoutPassword(name).toLocal8Bit();
        if (kept.size() + key.size() >= qsizetype(length))
            continue; // nothing to hide
        // The shorter name in place, the rest of the old text zeroed: the memory is the kernel's
        // view of the command line.
        std::memcpy(argument + key.size(), kept.constData(), std::size_t(kept.size()));
        std::memset(argument + key.size() + kept.size(), 0,
                    length - std::size_t(key.size() + kept.size()));
    }
}

} // namespace tarvexio
