#include "platform/paths.h"

#ifdef Q_OS_WIN
#include <QSettings>
#endif

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

std::optional<QString> CommonPhonebookFolder()
{
#ifdef Q_OS_WIN
    const QSettings shellFolders(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                       "Explorer\\Shell Folders"),
        QSettings::NativeFormat);
    const QVariant common = shellFolders.value(QStringLiteral("Common AppData"));
    if (common.typeId() != QMetaType::QString)
        return std::nullopt;
    QString folder = common.toString();
    if (!folder.endsWith(u'\\'))
        folder += u'\\';
    return folder + QStringLiteral("Microsoft\\Network\\Connections\\Pbk");
#else
    return std::nullopt;
#endif
}

} // namespace tarvexio
