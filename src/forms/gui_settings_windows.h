#pragma once

#include "app/settings_page.h"

class QWidget;

namespace tarvexio {

class Dialogs;

// The settings pages' windows: the directory chooser, the phonebook file dialog and the shop
// code editor, each modal over the main window.
class GuiSettingsWindows final : public SettingsWindows {
public:
    GuiSettingsWindows(Dialogs& dialogs, QWidget* parent)
        : dialogs_(dialogs)
        , parent_(parent)
    {}

    std::optional<QString> chooseDirectory(const QString& folder) override;
    std::optional<QString> choosePhonebookFile(const QString& folder) override;
    void editShopCodes(TKonfigEksportu& record) override;

private:
    Dialogs& dialogs_;
    QWidget* parent_;
};

} // namespace tarvexio
