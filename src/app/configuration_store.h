#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tarvexio {

class AutostartEntry;
class Clock;
class Dialogs;
class SessionOwner;
class TKonfigEksportu;
class TQMXBazaDanych;
class WindowModel;

// The settings record between the window and its two stores, the Konfig table (group
// "Tarvexio") and the configuration file, in the save mode the user chose: a load shows the
// record in the controls, a save gathers them first; what fails is a box.
class ConfigurationStore {
public:
    enum SaveMode { TableAndFile = 0, TableOnly = 1, FileOnly = 2 };

    struct Context {
        TKonfigEksportu& record;
        WindowModel& model;
        SessionOwner& session;
        Dialogs& dialogs;
        Clock& clock;
        AutostartEntry& autostart;
        QString configurationFile;
        QString programFile;
        // The controls have just shown the record (the phonebook's entries follow).
        std::function<void()> recordShown;
        std::function<void(const QString& line)> log;
    };

    explicit ConfigurationStore(Context context);

    // Reads the store that the read-from-file row names, then brings the autostart entry in
    // line with the record.
    void LoadAtStart();

    // 1 when the group had rows, -1 when the record kept what it had.
    int LoadFromTable();
    void SaveToTable();
    void LoadFromFile();
    void SaveToFile();
    void WriteReadFromFileRow();
    int ReadReadFromFileRow();

    // The save buttons and the scheduler: the mode chosen in the window, with a session of its
    // own when none is open.
    void Save();

private:
    TQMXBazaDanych& requireSession() const;
    void showRecord();
    void resetBeforeLoad();
    QStringList gatheredList();
    void saveInMode(int mode);

    Context c_;
};

} // namespace tarvexio
