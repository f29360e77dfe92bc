#include "forms/directory_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace tarvexio {

TFrmDirBox::TFrmDirBox(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , choice_(dialogs)
    , model_(new QFileSystemModel(this))
    , EdtDir(new QLineEdit(this))
    , DirListBox(new QTreeView(this))
    , EdPodFolder(new QLineEdit(this))
    , BtnPodFolder(new QPushButton(QStringLiteral("Utwórz podfolder"), this))
    , DriveComboBox(new QComboBox(this))
{
    setObjectName(QStringLiteral("TFrmDirBox"));
    setWindowTitle(QStringLiteral("Wskaż folder źródłowy"));
    EdtDir->setObjectName(QStringLiteral("EdtDir"));
    DirListBox->setObjectName(QStringLiteral("DirListBox"));
    EdPodFolder->setObjectName(QStringLiteral("EdPodFolder"));
    BtnPodFolder->setObjectName(QStringLiteral("BtnPodFolder"));
    DriveComboBox->setObjectName(QStringLiteral("DriveComboBox"));

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    DirListBox->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        DirListBox->hideColumn(column);
    DirListBox->header()->hide();

    for (const QFileInfo& drive : QDir::drives())
        DriveComboBox->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()),
                               drive.absoluteFilePath());
    BtnPodFolder->setEnabled(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* remove = new QPushButton(QStringLiteral("Usuń (pusty) folder"), this);
    remove->setObjectName(QStringLiteral("BtnUsun"));
    for (QPushButton* button : {BtnPodFolder, cancel, remove})
        button->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(EdtDir, 0, 0, 1, 3);
    layout->addWidget(DirListBox, 1, 0, 1, 3);
    layout->addWidget(EdPodFolder, 2, 0, 1, 2);
    layout->addWidget(BtnPodFolder, 2, 2);
    auto* driveLabel = new QLabel(QStringLiteral("Dysk:"), this);
    driveLabel->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(driveLabel, 3, 0);
    layout->addWidget(DriveComboBox, 3, 1, 1, 2);
    layout->addWidget(remove, 4, 0);
    layout->addWidget(ok, 4, 1);
    layout->addWidget(cancel, 4, 2);
    setFixedSize(420, 420); // a fixed dialog border

    // The model reads folders as they are opened: the current one comes into view once read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, &TFrmDirBox::revealCurrent);
    connect(DriveComboBox, &QComboBox::activated, this,
            [this](int index) { moveTo(DriveComboBox->itemData(index).toString()); });
    connect(DirListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                EdtDir->setText(QDir::toNativeSeparators(model_->filePath(current)));
            });
    connect(EdPodFolder, &QLineEdit::textChanged, this,
            [this](const QString& text) { BtnPodFolder->setEnabled(!text.isEmpty()); });
    connect(ok, &QPushButton::clicked, this, &TFrmDirBox::BtnOKClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnPodFolder, &QPushButton::clicked, this, &TFrmDirBox::BtnPodFolderClick);
    connect(remove, &QPushButton::clicked, this, &TFrmDirBox::BtnUsunClick);
}

std::optional<QString> TFrmDirBox::Choose(Dialogs& dialogs, const QString& folder, QWidget* parent)
{
    TFrmDirBox box(dialogs, parent);
    box.setPath(folder);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.directory();
}

void TFrmDirBox::setPath(const QString& path)
{
    EdtDir->setText(path);
}

QString TFrmDirBox::directory() const
{
    return QDir::toNativeSeparators(model_->filePath(DirListBox->currentIndex()));
}

void TFrmDirBox::moveTo(const QString& folder)
{
    model_->setRootPath(folder); // read it first
    DirListBox->setCurrentIndex(model_->index(folder));
    revealCurrent();
}

void TFrmDirBox::revealCurrent()
{
    const QModelIndex current = DirListBox->currentIndex();
    for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
        DirListBox->expand(parent);
    DirListBox->scrollTo(current);
}

void TFrmDirBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QString typed = EdtDir->text();
    if (QFileInfo(typed).isDir())
        moveTo(QFileInfo(typed).absoluteFilePath());
    else
        moveTo(QDir::currentPath()); // the tree's own folder, which the box then shows
    // Once the tree has its size, the folder comes into view.
    QTimer::singleShot(0, this, &TFrmDirBox::revealCurrent);
}

void TFrmDirBox::BtnOKClick()
{
    if (const std::optional<QString> folder = choice_.Ok(EdtDir->text())) {
        moveTo(QFileInfo(*folder).absoluteFilePath());
        accept();
    }
}

void TFrmDirBox::BtnPodFolderClick()
{
    if (const std::optional<QString> folder =
            choice_.CreateSubfolder(EdtDir->text(), EdPodFolder->text())) {
        EdtDir->setText(QDir::toNativeSeparators(*folder));
        moveTo(*folder);
        EdPodFolder->clear();
    }
}

void TFrmDirBox::BtnUsunClick()
{
    const QString folder = model_->filePath(DirListBox->currentIndex());
    if (const std::optional<QString> parent = choice_.RemoveEmptyFolder(folder)) {
        moveTo(*parent);
        EdtDir->setText(QDir::toNativeSeparators(*parent));
    } else {
        moveTo(folder);
    }
}

} // namespace tarvexio
