#include "platform/autostart_store.h"

#include <QDir>
#include <QStandardPaths>

namespace tarvexio {

std::unique_ptr<AutostartStore> createSystemAutostartStore()
{
    return std::make_unique<XdgAutostartStore>(
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("autostart")));
}

} // namespace tarvexio
