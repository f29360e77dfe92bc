#include "platform/program_file.h"

#include <QFileInfo>

namespace tarvexio {

QString ProgramBaseName(const QString& programFilePath)
{
    return QFileInfo(programFilePath).fileName();
}

} // namespace tarvexio
