#include "config/autostart_entry.h"

#include "db/database_name.h"
#include "platform/autostart_store.h"

namespace tarvexio {

namespace {

QString Name()
{
    return QString::fromLatin1(AutostartEntry::EntryName);
}

} // namespace

AutostartCommand AutostartEntry::Command(const QString& programFilePath,
                                         const QString& databaseName, const QString& userIdent,
                                         bool testMode)
{
    // A password in the entry would be on the command line, for every user to see, at each
    // login: the started program finds it where the name without it leads (.pgpass, a DSN).
    AutostartCommand command{programFilePath,
                             {QStringLiteral("BAZA=") + DatabaseNameWithoutPassword(databaseName),
                              QStringLiteral("IDENT=") + userIdent}};
    if (testMode)
        command.arguments << QStringLiteral("TEST");
    return command;
}

bool AutostartEntry::Check() const
{
    return store_.Exists(Name());
}

void AutostartEntry::Write(const QString& programFilePath, const QString& databaseName,
                           const QString& userIdent, bool testMode)
{
    store_.Write(Name(), Command(programFilePath, databaseName, userIdent, testMode));
}

void AutostartEntry::Delete()
{
    store_.Delete(Name());
}

void AutostartEntry::Synchronise(bool wanted, const QString& programFilePath,
                                 const QString& databaseName, const QString& userIdent,
                                 bool testMode)
{
    const bool exists = Check();
    if (wanted && !exists)
        Write(programFilePath, databaseName, userIdent, testMode);
    else if (!wanted && exists)
        Delete();
}

} // namespace tarvexio
