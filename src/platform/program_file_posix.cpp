#include "platform/program_file.h"

#include <QFileInfo>

namespace tarvexio {

QString programBaseName(const QString& programFilePath)
{
    return QFileInfo(programFilePath).fileName();
}

} // namespace tarvexio
