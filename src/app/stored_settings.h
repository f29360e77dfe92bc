#pragma once

#include "model/session_owner.h"

#include <QString>

namespace tarvexio {

class EventLog;
class TKonfigEksportu;

// The agent's settings as a program without a window reads them: a session on the agent's
// database and the record its catalogue makes. The operator's tools start from it.
class StoredSettings final : private SessionHost {
public:
    StoredSettings(EventLog& log, QString version, QString programFolder);

    // False when the database cannot be reached or read; failure() then says why, unless the
    // session logged it as a refused connection.
    bool connect(const QString& databaseName, const QString& userIdent);
    const QString& failure() const { return failure_; }

    SessionOwner& session() { return session_; }
    TKonfigEksportu& record() { return *session_.record(); }

private:
    void connectionRefused() override {}
    void sessionFailed(const std::exception& error) override;
    void catalogueReady(bool) override {}

    SessionOwner session_;
    QString failure_;
};

} // namespace tarvexio
