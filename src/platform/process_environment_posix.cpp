#include "platform/process_environment.h"

#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvexio {

bool stdoutIsJournal()
{
    const QStringList stream = qEnvironmentVariable("JOURNAL_STREAM").split(u':');
    struct stat out {};
    if (stream.size() != 2 || ::fstat(STDOUT_FILENO, &out) != 0)
        return false;
    return stream[0].toULongLong() == quint64(out.st_dev) &&
           stream[1].toULongLong() == quint64(out.st_ino);
}

bool noDisplay()
{
#ifdef __APPLE__
    return false;
#else
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

} // namespace tarvexio
