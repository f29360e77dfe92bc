#include "forms/directory_chooser.h"

#include "ui_directory_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace tarvexio {

TFrmDirBox::TFrmDirBox(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent)
    , choice_(dialogs)
    , model_(new QFileSystemModel(this))
    , ui_(std::make_unique<Ui::TFrmDirBox>())
{
    ui_->setupUi(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    ui_->DirListBox->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        ui_->DirListBox->hideColumn(column);
    for (const QFileInfo& drive : QDir::drives())
        ui_->DriveComboBox->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()),
                                    drive.absoluteFilePath());

    // The model reads folders as they are opened: the current one comes into view once read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, &TFrmDirBox::revealCurrent);
    connect(ui_->DriveComboBox, &QComboBox::activated, this,
            [this](int index) { moveTo(ui_->DriveComboBox->itemData(index).toString()); });
    connect(ui_->DirListBox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                ui_->EdtDir->setText(QDir::toNativeSeparators(model_->filePath(current)));
            });
    connect(ui_->EdPodFolder, &QLineEdit::textChanged, this,
            [this](const QString& text) { ui_->BtnPodFolder->setEnabled(!text.isEmpty()); });
    connect(ui_->BtnOK, &QPushButton::clicked, this, &TFrmDirBox::BtnOKClick);
    connect(ui_->BtnPodFolder, &QPushButton::clicked, this, &TFrmDirBox::BtnPodFolderClick);
    connect(ui_->BtnUsun, &QPushButton::clicked, this, &TFrmDirBox::BtnUsunClick);
}

TFrmDirBox::~TFrmDirBox() = default;

std::optional<QString> TFrmDirBox::choose(Dialogs& dialogs, const QString& folder, QWidget* parent)
{
    TFrmDirBox box(dialogs, parent);
    box.setPath(folder);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.directory();
}

void TFrmDirBox::setPath(const QString& path)
{
    ui_->EdtDir->setText(path);
}

QString TFrmDirBox::directory() const
{
    return QDir::toNativeSeparators(model_->filePath(ui_->DirListBox->currentIndex()));
}

void TFrmDirBox::moveTo(const QString& folder)
{
    model_->setRootPath(folder); // read it first
    ui_->DirListBox->setCurrentIndex(model_->index(folder));
    revealCurrent();
}

void TFrmDirBox::revealCurrent()
{
    const QModelIndex current = ui_->DirListBox->currentIndex();
    for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
        ui_->DirListBox->expand(parent);
    ui_->DirListBox->scrollTo(current);
}

void TFrmDirBox::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    const QString typed = ui_->EdtDir->text();
    if (QFileInfo(typed).isDir())
        moveTo(QFileInfo(typed).absoluteFilePath());
    else
        moveTo(QDir::currentPath()); // the tree's own folder, which the box then shows
    // Once the tree has its size, the folder comes into view.
    QTimer::singleShot(0, this, &TFrmDirBox::revealCurrent);
}

void TFrmDirBox::BtnOKClick()
{
    if (const std::optional<QString> folder = choice_.ok(ui_->EdtDir->text())) {
        moveTo(QFileInfo(*folder).absoluteFilePath());
        accept();
    }
}

void TFrmDirBox::BtnPodFolderClick()
{
    if (const std::optional<QString> folder =
            choice_.createSubfolder(ui_->EdtDir->text(), ui_->EdPodFolder->text())) {
        ui_->EdtDir->setText(QDir::toNativeSeparators(*folder));
        moveTo(*folder);
        ui_->EdPodFolder->clear();
    }
}

void TFrmDirBox::BtnUsunClick()
{
    const QString folder = model_->filePath(ui_->DirListBox->currentIndex());
    if (const std::optional<QString> parent = choice_.removeEmptyFolder(folder)) {
        moveTo(*parent);
        ui_->EdtDir->setText(QDir::toNativeSeparators(*parent));
    } else {
        moveTo(folder);
    }
}

} // namespace tarvexio
