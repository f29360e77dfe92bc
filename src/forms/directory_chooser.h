#pragma once

#include "config/directory_choice.h"

#include <QDialog>

#include <memory>
#include <optional>

class QFileSystemModel;

namespace Ui {
class TFrmDirBox;
}

namespace tarvexio {

class Dialogs;

// "Wskaż folder źródłowy": a folder tree of the current drive over Qt's file system model, the
// chosen path above it, a sub-folder to make and an empty folder to remove.
class TFrmDirBox final : public QDialog {
    Q_OBJECT
public:
    TFrmDirBox(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmDirBox() override;

    void setPath(const QString& path); // EdtDir, before the dialog is shown
    QString directory() const;         // the folder of DirListBox, after OK

    // The caller's sequence: the chooser on the folder; the folder chosen, none on "Anuluj".
    static std::optional<QString> choose(Dialogs& dialogs, const QString& folder,
                                         QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void moveTo(const QString& folder);
    // The current folder's branch opened and scrolled into view (again once it is read).
    void revealCurrent();
    void BtnOKClick();
    void BtnPodFolderClick();
    void BtnUsunClick();

    DirectoryChoice choice_;
    QFileSystemModel* model_;
    std::unique_ptr<Ui::TFrmDirBox> ui_;
};

} // namespace tarvexio
