#include "config/autostart_entry.h"

#include "db/database_name.h"
#include "platform/autostart_store.h"

namespace tarvexio {

namespace {

QString name()
{
    return QString::fromLatin1(AutostartEntry::EntryName);
}

} // namespace

AutostartCommand AutostartEntry::command(const QString& programFilePath,
                                         const QString& databaseName, const QString& userIdent,
                                         bool testMode)
{
    // A password in the entry would be on the command line, for every user to see, at each
    // login: the started program finds it where the name without it leads (.pgpass, a DSN).
    AutostartCommand command{programFilePath,
                             {QStringLiteral("BAZA=") + databaseNameWithoutPassword(databaseName),
                              QStringLiteral("IDENT=") + userIdent}};
    if (testMode)
        command.arguments << QStringLiteral("TEST");
    return command;
}

bool AutostartEntry::check() const
{
    return store_.exists(name());
}

void AutostartEntry::write(const QString& programFilePath, const QString& databaseName,
                           const QString& userIdent, bool testMode)
{
    store_.write(name(), command(programFilePath, databaseName, userIdent, testMode));
}

void AutostartEntry::Delete()
{
    store_.Delete(name());
}

void AutostartEntry::synchronise(bool wanted, const QString& programFilePath,
                                 const QString& databaseName, const QString& userIdent,
                                 bool testMode)
{
    const bool exists = check();
    if (wanted && !exists)
        write(programFilePath, databaseName, userIdent, testMode);
    else if (!wanted && exists)
        Delete();
}

} // namespace tarvexio
