#include "forms/shop_code_editor.h"

#include "config/settings_record.h"
#include "ui_shop_code_editor.h"

#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace tarvexio {

// The code column's editor, kept at hand so that "Wyjście z zapisem" can accept it.
class CodeCellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        editor_ = QStyledItemDelegate::createEditor(parent, option, index);
        return editor_;
    }
    void acceptOpenEditor()
    {
        if (editor_.isNull())
            return;
        QWidget* editor = editor_;
        emit commitData(editor);
        emit closeEditor(editor);
    }

private:
    mutable QPointer<QWidget> editor_;
};

TEdParametrySklMag::TEdParametrySklMag(TKonfigEksportu& record, QWidget* parent)
    : QDialog(parent)
    , record_(record)
    , ui_(std::make_unique<Ui::TEdParametrySklMag>())
    , delegate_(new CodeCellDelegate(this))
{
    ui_->setupUi(this);
    QTableWidget* grid = ui_->GridParametrowSekcji;
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->resizeSection(0, 200);
    grid->horizontalHeader()->resizeSection(1, 120);
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: palette(button); }"));
    grid->setItemDelegateForColumn(1, delegate_);
    showShops();
    // An accepted text is the shop's code at once.
    connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 1)
            record_.setKodKvr(item->row(), item->text());
    });
    // The cursor always stands in the code column.
    connect(grid, &QTableWidget::currentCellChanged, this, [grid](int row, int column) {
        if (row >= 0 && column == 0)
            grid->setCurrentCell(row, 1);
    });
    if (grid->rowCount() > 0)
        grid->setCurrentCell(0, 1);
    connect(ui_->Zapisz, &QPushButton::clicked, this, &TEdParametrySklMag::zapisz);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, &TEdParametrySklMag::zapisz);
}

TEdParametrySklMag::~TEdParametrySklMag() = default;

void TEdParametrySklMag::showShops()
{
    QTableWidget* grid = ui_->GridParametrowSekcji;
    const QVector<Shop>& shops = record_.shopListA();
    grid->setRowCount(int(shops.size()));
    for (int row = 0; row < shops.size(); ++row) {
        auto* name = new QTableWidgetItem(shops[row].description);
        name->setFlags(Qt::ItemIsEnabled); // the name column takes no edit
        name->setTextAlignment(Qt::AlignCenter);
        auto* code = new QTableWidgetItem(record_.kodKvr(row));
        code->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, 0, name);
        grid->setItem(row, 1, code);
    }
}

void TEdParametrySklMag::zapisz()
{
    delegate_->acceptOpenEditor();
    accept();
}

} // namespace tarvexio
