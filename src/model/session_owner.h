#pragma once

#include <QString>

#include <exception>
#include <memory>
#include <utility>

namespace tarvexio {

class EventLog;
class TDmQMXWDWykazy;
class TKonfigEksportu;
class TQMXBazaDanych;
struct ExportQueries;

// What the session tells the program around it.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // The connection was refused (its line is logged after this): the agent's main window
    // closes for good, which ends an unattended agent.
    virtual void connectionRefused() = 0;
    // The catalogue or the settings failed on a connected session.
    virtual void sessionFailed(const std::exception& error) = 0;
    // A connected catalogue, the record made or its shop lists read again; firstTime is true
    // until it has once succeeded.
    virtual void catalogueReady(bool firstTime) = 0;
};

// The database session of the agent and of its tools: opened for each piece of work and closed
// after it, with the shop catalogue and the export's queries that live exactly as long; and the
// settings record, made from the first connected catalogue (its shop lists read again from
// every later one).
class SessionOwner {
public:
    // programFolder: where the record's default exchange directory is.
    SessionOwner(EventLog& log, QString version, QString programFolder, SessionHost& host);
    ~SessionOwner();

    const QString& version() const { return version_; }
    QString databaseName() const { return databaseName_; }
    QString userIdent() const { return userIdent_; }
    void setNames(const QString& databaseName, const QString& userIdent);
    // A tool that only looks must not change the window's default connection.
    void setRemembersConnection(bool remembers) { remembers_ = remembers; }

    void OpenSession();
    void ReopenSession();
    // A session only to read the settings' stores: no log line, and a refused connection tells
    // nobody (the work that follows reports it). False when it did not connect.
    bool openQuietly(QString* why = nullptr);
    // Closes it again, without a line.
    void closeQuietly();
    // The record made, before any work has needed it, from a quiet session's catalogue (an
    // operator asks at the start); throws what the catalogue throws.
    bool makeRecordQuietly(QString* why);
    // Closes the session if there is one; without one it only drops the catalogue and queries.
    void CloseSession();

    bool hasSession() const { return session_ != nullptr; }
    // The settings have been loaded once, by the first session whose catalogue worked.
    bool configurationLoaded() const { return configurationLoaded_; }
    bool isConnected() const;
    TQMXBazaDanych* session() const { return session_.get(); }
    ExportQueries* queries() const { return queries_.get(); }
    // None before the first connected catalogue.
    TKonfigEksportu* record() const { return record_.get(); }

private:
    void createSession();
    void commonTail();

    EventLog& log_;
    QString version_;
    QString programFolder_;
    SessionHost& host_;
    QString databaseName_;
    QString userIdent_;
    std::pair<QString, QString> remembered_; // the names last kept as the default connection
    bool remembers_ = true;
    std::unique_ptr<TQMXBazaDanych> session_;
    std::unique_ptr<TDmQMXWDWykazy> catalogue_;
    std::unique_ptr<ExportQueries> queries_;
    std::unique_ptr<TKonfigEksportu> record_;
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
