#include "platform/paths.h"

#include <QSettings>
#include <QStandardPaths>

namespace tarvexio {

QString runtimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString withoutTrailingSeparator(QString folder)
{
    if (folder.size() >= 2 && (folder.endsWith(u'\\') || folder.endsWith(u'/')))
        folder.chop(1);
    return folder;
}

std::optional<QString> commonPhonebookFolder()
{
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
}

} // namespace tarvexio
