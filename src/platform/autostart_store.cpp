#include "platform/autostart_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace tarvexio {

QString runKeyCommand(const AutostartCommand& command)
{
    QStringList parts{u'"' + QDir::toNativeSeparators(command.program) + u'"'};
    parts += command.arguments;
    return parts.join(u' ');
}

namespace {

// Characters that make an Exec argument need quotes.
bool needsQuotes(const QString& argument)
{
    static const QString Reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                             [](QChar c) { return Reserved.contains(c); });
}

QString execArgument(QString argument)
{
    if (needsQuotes(argument)) {
        QString escaped;
        for (const QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                escaped += u'\\';
            escaped += c;
        }
        argument = u'"' + escaped + u'"';
    }
    return argument.replace(u'%', QStringLiteral("%%"));
}

} // namespace

QString desktopEntryExec(const AutostartCommand& command)
{
    QStringList parts{execArgument(command.program)};
    for (const QString& argument : command.arguments)
        parts << execArgument(argument);
    // The key file's string escapes come on top of the quoting.
    return parts.join(u' ')
        .replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"));
}

namespace {

const QString RunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

} // namespace

bool RunKeyAutostartStore::exists(const QString& name) const
{
    return QSettings(RunKey, QSettings::NativeFormat).contains(name);
}

void RunKeyAutostartStore::write(const QString& name, const AutostartCommand& command)
{
    QSettings key(RunKey, QSettings::NativeFormat);
    key.remove(name);
    key.setValue(name, runKeyCommand(command));
}

void RunKeyAutostartStore::Delete(const QString& name)
{
    QSettings(RunKey, QSettings::NativeFormat).remove(name);
}

XdgAutostartStore::XdgAutostartStore(QString folder)
    : folder_(std::move(folder))
{}

QString XdgAutostartStore::filePath(const QString& name) const
{
    return QDir(folder_).filePath(name + QStringLiteral(".desktop"));
}

bool XdgAutostartStore::exists(const QString& name) const
{
    return QFile::exists(filePath(name));
}

void XdgAutostartStore::write(const QString& name, const AutostartCommand& command)
{
    if (!QDir().mkpath(folder_))
        return;
    QFile::remove(filePath(name));
    QFile file(filePath(name));
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
                              .arg(desktopEntryExec(command));
    file.write(entry.toUtf8());
}

void XdgAutostartStore::Delete(const QString& name)
{
    QFile::remove(filePath(name));
}

} // namespace tarvexio
