#include "app/program_folder.h"

#include <QCoreApplication>

namespace tarvexio {

QString ProgramFolder()
{
    QString home = qEnvironmentVariable("TARVEXIO_HOME");
    if (!home.isEmpty())
        return home;
    return QCoreApplication::applicationDirPath();
}

} // namespace tarvexio
