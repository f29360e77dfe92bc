#include "platform/program_file.h"

#include <QFileInfo>

namespace tarvexio {

QString programBaseName(const QString& programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName();
    name.chop(4); // ".exe"
    return name;
}

} // namespace tarvexio
