#pragma once

#include "export/export_settings.h"

#include <QString>

#include <optional>

namespace tarvexio {

class AutostartEntry;
class RecordSource;
class Dialogs;
class DialUpBackend;
class SessionOwner;
class TKonfigEksportu;
class WindowModel;

// The windows the settings pages open: all modal, all of src/forms.
class SettingsWindows {
public:
    virtual ~SettingsWindows() = default;
    // The directory chooser, started on the given folder; none when cancelled.
    virtual std::optional<QString> chooseDirectory(const QString& folder) = 0;
    // The open-file dialog for a phonebook, in the given folder (empty: where it last was).
    virtual std::optional<QString> choosePhonebookFile(const QString& folder) = 0;
    // The shop code editor on the record's shop list A and codes.
    virtual void editShopCodes(TKonfigEksportu& record) = 0;
};

// The handlers of the "Eksport" and "FTP" pages, on the window model; widgets call them.
class SettingsPage {
public:
    struct Context {
        WindowModel& model;
        SessionOwner& session;
        Dialogs& dialogs;
        DialUpBackend& dialUp;
        AutostartEntry& autostart;
        QString programFile;
        const RecordSource& record;
    };

    explicit SettingsPage(Context context);

    void setWindows(SettingsWindows* windows) { windows_ = windows; }

    void SBKatalogEksportuClick();
    void SBKodyKVRClick();
    void CbPlikPBKClick();
    void SbPlikPBKClick();
    void cb_PbkCzyModemClick();
    void cb_DomyslnyPortFTPClick();
    void ed_portFTPChange();
    void CBAutoStartClick();

    // The phonebook's entries into Cb_PbkEntry, the remembered one selected (else the first).
    void readPhonebookEntries();
    // After the record has been shown: what the boxes' handlers do when they are set.
    void recordShown();

private:
    Context c_;
    SettingsWindows* windows_ = nullptr;
};

// What the "Eksport" page says of an export: the exchange directory, the consent boxes, and
// whether the program works unattended.
ExportSettings exportSettingsShown(const WindowModel& model);

} // namespace tarvexio
