#pragma once

#include <QString>

#include <optional>

namespace tarvexio {

class Dialogs;

// What the directory chooser's buttons do, apart from its widgets: every failure is a message
// box and leaves the chooser open.
class DirectoryChoice {
public:
    explicit DirectoryChoice(Dialogs& dialogs);

    // "OK" on the typed path: the folder to close with, after asking whether a missing one
    // should be made (with its missing parents); none when the chooser stays open.
    std::optional<QString> ok(const QString& path);
    // "Utwórz podfolder": the new folder under the typed one; none when nothing was made.
    std::optional<QString> createSubfolder(const QString& path, const QString& name);
    // "Usuń (pusty) folder": the parent of the removed folder; none when nothing was removed
    // (a drive's root, a folder that is not empty).
    std::optional<QString> removeEmptyFolder(const QString& folder);

private:
    void inform(const QString& text);

    Dialogs& dialogs_;
};

} // namespace tarvexio
