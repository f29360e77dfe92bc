#include "platform/paths.h"

namespace tarvexio {

QString WithoutTrailingSeparator(QString folder)
{
    if (folder.size() < 2)
        return folder;
#ifdef Q_OS_WIN
    if (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        folder.chop(1);
#else
    if (folder.endsWith(u'/'))
        folder.chop(1);
#endif
    return folder;
}

} // namespace tarvexio
