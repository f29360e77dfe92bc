#include "app/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvexio {

QString programFolder()
{
    QString home = qEnvironmentVariable("TARVEXIO_HOME");
    if (!home.isEmpty())
        return home;
    QString programFolder = QCoreApplication::applicationDirPath();
    // Root can write to /usr/bin, but an installed program's files do not belong there.
    const bool installed = programFolder == QStringLiteral(TARVEXIO_INSTALLED_BINDIR) ||
                           !QFileInfo(programFolder).isWritable();
    if (!installed)
        return programFolder;
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                   QStringLiteral("/tarvexio");
    if (!QFileInfo::exists(data) && QDir().mkpath(data))
        QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return data;
}

QString agentProgramFile()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    const QString name = program.completeBaseName();
    if (name != u"tarvexiod" && name != u"tarvexioctl")
        return program.filePath();
    return program.dir().filePath(QStringLiteral("tarvexio") + (program.suffix().isEmpty()
                                                                    ? QString()
                                                                    : u'.' + program.suffix()));
}

} // namespace tarvexio
