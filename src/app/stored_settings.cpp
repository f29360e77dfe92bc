#include "app/stored_settings.h"

namespace tarvexio {

StoredSettings::StoredSettings(EventLog& log, QString version, QString programFolder)
    : session_(log, std::move(version), std::move(programFolder), *this)
{
    // A tool that only looks must not change the window's default connection.
    session_.setRemembersConnection(false);
}

bool StoredSettings::connect(const QString& databaseName, const QString& userIdent)
{
    session_.setNames(databaseName, userIdent);
    session_.ReopenSession();
    return session_.isConnected() && session_.record() != nullptr && failure_.isEmpty();
}

void StoredSettings::sessionFailed(const std::exception& error)
{
    failure_ = QString::fromUtf8(error.what());
}

} // namespace tarvexio
