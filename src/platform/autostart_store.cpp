#include "platform/autostart_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace tarvexio {

#ifdef Q_OS_WIN

namespace {

const QString RunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

class RunKeyAutostartStore final : public AutostartStore {
public:
    bool Exists(const QString& name) const override
    {
        return QSettings(RunKey, QSettings::NativeFormat).contains(name);
    }
    void Write(const QString& name, const QString& command) override
    {
        QSettings key(RunKey, QSettings::NativeFormat);
        key.remove(name);
        key.setValue(name, command);
    }
    void Delete(const QString& name) override
    {
        QSettings(RunKey, QSettings::NativeFormat).remove(name);
    }
};

} // namespace

std::unique_ptr<AutostartStore> CreateSystemAutostartStore()
{
    return std::make_unique<RunKeyAutostartStore>();
}

#else

XdgAutostartStore::XdgAutostartStore(QString folder)
    : folder_(std::move(folder))
{}

QString XdgAutostartStore::FilePath(const QString& name) const
{
    return QDir(folder_).filePath(name + QStringLiteral(".desktop"));
}

bool XdgAutostartStore::Exists(const QString& name) const
{
    return QFile::exists(FilePath(name));
}

void XdgAutostartStore::Write(const QString& name, const QString& command)
{
    if (!QDir().mkpath(folder_))
        return;
    QFile::remove(FilePath(name));
    QFile file(FilePath(name));
    // The command may carry a database password: readable by its user only.
    if (!file.open(QIODevice::WriteOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Tarvexio\n"
                                         "Comment=Eksport danych sklepów\n"
                                         "Exec=%1\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(command);
    file.write(entry.toUtf8());
}

void XdgAutostartStore::Delete(const QString& name)
{
    QFile::remove(FilePath(name));
}

std::unique_ptr<AutostartStore> CreateSystemAutostartStore()
{
    return std::make_unique<XdgAutostartStore>(
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(QStringLiteral("autostart")));
}

#endif

} // namespace tarvexio
