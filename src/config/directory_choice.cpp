#include "config/directory_choice.h"

#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace tarvexio {

DirectoryChoice::DirectoryChoice(Dialogs& dialogs)
    : dialogs_(dialogs)
{}

void DirectoryChoice::inform(const QString& text)
{
    dialogs_.MsgBox(
        {text, QStringLiteral("Informacja"), MessageButtons::Ok, MessageIcon::Information});
}

std::optional<QString> DirectoryChoice::ok(const QString& path)
{
    if (QFileInfo(path).isDir())
        return path;
    const MessageAnswer answer = dialogs_.MsgBox(
        {QStringLiteral("Podany katalog jeszcze nie istnieje. Czy chcesz, aby został założony ?"),
         QStringLiteral("Uwaga"), MessageButtons::YesNo, MessageIcon::Question});
    if (answer != MessageAnswer::Yes)
        return std::nullopt;
    if (path.isEmpty() || !QDir().mkpath(path)) {
        dialogs_.MsgBox({QStringLiteral("Nie można założyć katalogu o takiej nazwie"), QString()});
        return std::nullopt;
    }
    return path;
}

std::optional<QString> DirectoryChoice::createSubfolder(const QString& path, const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    const QString folder = withoutTrailingSeparator(path) + u'/' + name;
    if (QFileInfo::exists(folder)) {
        inform(QStringLiteral("Wskazany folder już istnieje"));
        return std::nullopt;
    }
    if (!QDir().mkpath(folder)) {
        inform(QStringLiteral("Błąd tworzenia folderu %1").arg(QDir::toNativeSeparators(folder)));
        return std::nullopt;
    }
    return folder;
}

std::optional<QString> DirectoryChoice::removeEmptyFolder(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    if (path.isEmpty() || QDir(path).isRoot())
        return std::nullopt;
    const qsizetype separator = path.lastIndexOf(u'/');
    if (separator < 0)
        return std::nullopt;
    const QString parent = separator == 0 ? QStringLiteral("/") : path.left(separator);
    const QString name = path.mid(separator + 1);
    // Only an empty folder goes; the process's own current folder is left alone.
    if (!QDir(parent).rmdir(name)) {
        inform(QStringLiteral("Nie można usunąć podfolderu %1").arg(name));
        return std::nullopt;
    }
    return parent;
}

} // namespace tarvexio
