#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <utility>

namespace tarvexio {

class Dialogs;
class EventLog;
class TDmQMXWDWykazy;
class TQMXBazaDanych;
struct ExportQueries;

// The main window's database session: opened for each piece of work and closed after it,
// with the shop catalogue and the export's queries that live exactly as long.
class SessionOwner {
public:
    struct Hooks {
        // The connection was refused: the main window closes for good (in the unattended way
        // this ends the program).
        std::function<void()> closeMainWindow;
        // The catalogue or the settings failed on a connected session: shown the way the
        // agent reports errors, and the program is closing.
        std::function<void(const std::exception&)> showException;
        // Called with a connected catalogue; firstTime is true until it has once succeeded.
        std::function<void(TDmQMXWDWykazy&, bool firstTime)> catalogueReady;
    };

    SessionOwner(EventLog& log, QString version, Hooks hooks);
    ~SessionOwner();

    const QString& version() const { return version_; }
    QString databaseName() const { return databaseName_; }
    QString userIdent() const { return userIdent_; }
    void setNames(const QString& databaseName, const QString& userIdent);
    // A tool that only looks must not change the window's default connection.
    void setRemembersConnection(bool remembers) { remembers_ = remembers; }

    void OpenSession();
    void ReopenSession();
    // Closes the session if there is one; without one it only drops the catalogue and queries.
    void CloseSession();

    bool hasSession() const { return session_ != nullptr; }
    // The settings have been loaded once, by the first session whose catalogue worked.
    bool configurationLoaded() const { return configurationLoaded_; }
    bool isConnected() const;
    TQMXBazaDanych* session() const { return session_.get(); }
    ExportQueries* queries() const { return queries_.get(); }

private:
    void createSession();
    void commonTail();

    EventLog& log_;
    QString version_;
    Hooks hooks_;
    QString databaseName_;
    QString userIdent_;
    std::pair<QString, QString> remembered_; // the names last kept as the default connection
    bool remembers_ = true;
    std::unique_ptr<TQMXBazaDanych> session_;
    std::unique_ptr<TDmQMXWDWykazy> catalogue_;
    std::unique_ptr<ExportQueries> queries_;
    bool configurationLoaded_ = false;
};

// A session for one piece of work: opens one when none is connected, and at its end closes
// the session only if it was the one that opened it.
class SessionLease {
public:
    explicit SessionLease(SessionOwner& owner);
    ~SessionLease();
    SessionLease(const SessionLease&) = delete;
    SessionLease& operator=(const SessionLease&) = delete;

private:
    SessionOwner& owner_;
    bool opened_ = false;
};

} // namespace tarvexio
