#include "platform/paths.h"

namespace tarvexio {

QString WithoutTrailingSeparator(QString folder)
{
    if (folder.size() >= 2 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

std::optional<QString> CommonPhonebookFolder()
{
    return std::nullopt;
}

} // namespace tarvexio
