#pragma once

#include <QDialog>

class QTableWidget;

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

    // "Wyjście z zapisem": a cell being edited is accepted first.
    void Zapisz();

private:
    TKonfigEksportu& record_;
    QTableWidget* GridParametrowSekcji;
    CodeCellDelegate* delegate_;
};

} // namespace tarvexio
