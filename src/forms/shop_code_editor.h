#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TEdParametrySklMag;
}

namespace tarvexio {

class CodeCellDelegate;
class TKonfigEksportu;

// "Kody KVR sklepów": one row per shop of list A, its name and its KVR code. A code accepted
// in a cell goes into the settings record at once, whichever button closes the window; the
// stores get it with the next save.
class TEdParametrySklMag final : public QDialog {
    Q_OBJECT
public:
    explicit TEdParametrySklMag(TKonfigEksportu& record, QWidget* parent = nullptr);
    ~TEdParametrySklMag() override;

    // "Wyjście z zapisem": a cell being edited is accepted first.
    void zapisz();

private:
    // One row per shop of list A: its name, and its code to edit.
    void showShops();

    TKonfigEksportu& record_;
    std::unique_ptr<Ui::TEdParametrySklMag> ui_;
    CodeCellDelegate* delegate_;
};

} // namespace tarvexio
