#include "forms/gui_settings_windows.h"

#include "forms/directory_chooser.h"
#include "forms/shop_code_editor.h"

#include <QFileDialog>

namespace tarvexio {

std::optional<QString> GuiSettingsWindows::chooseDirectory(const QString& folder)
{
    return TFrmDirBox::choose(dialogs_, folder, parent_);
}

std::optional<QString> GuiSettingsWindows::choosePhonebookFile(const QString& folder)
{
    const QString file = QFileDialog::getOpenFileName(
        parent_, QString(), folder,
        QStringLiteral("Pliki PBK (*.pbk *.PBK);;Wszystkie pliki (*.*)"));
    if (file.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(file);
}

void GuiSettingsWindows::editShopCodes(TKonfigEksportu& record)
{
    TEdParametrySklMag editor(record, parent_);
    editor.exec(); // the codes are in the record already, whichever button closed it
}

} // namespace tarvexio
