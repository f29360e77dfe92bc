#include "forms/shop_code_editor.h"

#include "config/settings_record.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

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
    , GridParametrowSekcji(new QTableWidget(0, 2, this))
    , delegate_(new CodeCellDelegate(this))
{
    setObjectName(QStringLiteral("TEdParametrySklMag"));
    setWindowTitle(QStringLiteral("Kody KVR sklepów"));
    QTableWidget* grid = GridParametrowSekcji;
    grid->setObjectName(QStringLiteral("GridParametrowSekcji"));
    grid->setHorizontalHeaderLabels({QStringLiteral("Nazwa sklepu"), QStringLiteral("Kod KVR")});
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->resizeSection(0, 200);
    grid->horizontalHeader()->resizeSection(1, 120);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: palette(button); }"));
    grid->verticalHeader()->hide();
    grid->setItemDelegateForColumn(1, delegate_);
    grid->setEditTriggers(QAbstractItemView::AllEditTriggers); // typing edits at once
    grid->setSelectionMode(QAbstractItemView::SingleSelection);

    const QVector<Shop>& shops = record.ShopListA();
    grid->setRowCount(int(shops.size()));
    for (int row = 0; row < shops.size(); ++row) {
        auto* name = new QTableWidgetItem(shops[row].description);
        name->setFlags(Qt::ItemIsEnabled); // the name column takes no edit
        name->setTextAlignment(Qt::AlignCenter);
        auto* code = new QTableWidgetItem(record.KodKVR(row));
        code->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, 0, name);
        grid->setItem(row, 1, code);
    }
    // An accepted text is the shop's code at once.
    connect(grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == 1)
            record_.SetKodKVR(item->row(), item->text());
    });
    // The cursor always stands in the code column.
    connect(grid, &QTableWidget::currentCellChanged, this, [grid](int row, int column) {
        if (row >= 0 && column == 0)
            grid->setCurrentCell(row, 1);
    });
    if (!shops.isEmpty())
        grid->setCurrentCell(0, 1);

    auto* zapisz = new QPushButton(QStringLiteral("Wyjście z zapisem  "), this);
    zapisz->setObjectName(QStringLiteral("Zapisz"));
    auto* anuluj = new QPushButton(QStringLiteral("Anuluj  "), this);
    anuluj->setObjectName(QStringLiteral("Anuluj"));
    for (QPushButton* button : {zapisz, anuluj})
        button->setAutoDefault(false);
    connect(zapisz, &QPushButton::clicked, this, &TEdParametrySklMag::Zapisz);
    connect(anuluj, &QPushButton::clicked, this, &QDialog::reject);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, &TEdParametrySklMag::Zapisz);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(zapisz);
    buttons->addWidget(anuluj);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addLayout(buttons);
    resize(360, 320);
}

void TEdParametrySklMag::Zapisz()
{
    delegate_->acceptOpenEditor();
    accept();
}

} // namespace tarvexio
