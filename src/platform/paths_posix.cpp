#include "platform/paths.h"

namespace tarvexio {

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
