#pragma once

#include "config/settings_stores.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tarvexio {

class AutostartEntry;
class Clock;
class Dialogs;
class EventLog;
class SessionOwner;
class SettingsPage;
class TKonfigEksportu;
class TQMXBazaDanych;
class WindowModel;

// The settings record between the window and its two stores, the Konfig table (group
// "Tarvexio") and the configuration file, in the save mode the user chose: a load shows the
// record in the controls, a save gathers them first; what fails is a box.
class ConfigurationStore {
public:
    struct Context {
        TKonfigEksportu& record;
        WindowModel& model;
        SessionOwner& session;
        Dialogs& dialogs;
        Clock& clock;
        AutostartEntry& autostart;
        // Its handlers follow every time the controls have shown the record.
        SettingsPage& page;
        EventLog& log;
        QString configurationFile;
        QString programFile;
    };

    explicit ConfigurationStore(Context context);

    // Reads the store that the read-from-file row names, then brings the autostart entry in
    // line with the record.
    void loadAtStart();

    // A store changed since this agent last read or wrote it (by hand, by the back office) is
    // read again; true when it was.
    bool reloadIfChangedOutside();

    // 1 when the group had rows, -1 when the record kept what it had.
    int loadFromTable();
    void saveToTable();
    void loadFromFile();
    void saveToFile();
    void writeReadFromFileRow();
    int readReadFromFileRow();

    // The save buttons and the scheduler: the mode chosen in the window (SettingsStores'
    // modes), with a session of its own when none is open.
    void save();
    // Parameter lines the operator set: into the record and the controls, then saved as save()
    // saves.
    void apply(const QStringList& lines);

private:
    void load(const StartSettings& start);
    TQMXBazaDanych& requireSession() const;
    SettingsStores stores() const;
    void showRecord();
    void resetBeforeLoad();
    QStringList gatheredList();
    void rememberStored();

    Context c_;
    // What a start would read, as this agent last read or wrote it.
    std::optional<QStringList> stored_;
};

} // namespace tarvexio
