#include "platform/paths.h"

#include <QStandardPaths>

namespace tarvexio {

QString runtimeFolder()
{
    if (QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR"); !folder.isEmpty())
        return folder;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString withoutTrailingSeparator(QString folder)
{
    if (folder.size() >= 2 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

std::optional<QString> commonPhonebookFolder()
{
    return std::nullopt;
}

} // namespace tarvexio
