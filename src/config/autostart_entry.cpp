#include "config/autostart_entry.h"

#include "platform/autostart_store.h"

#include <QDir>

namespace tarvexio {

namespace {

QString Name()
{
    return QString::fromLatin1(AutostartEntry::EntryName);
}

} // namespace

QString AutostartEntry::Command(const QString& programFilePath, const QString& databaseName,
                                const QString& userIdent, bool testMode)
{
    QString command = QStringLiteral("\"%1\" BAZA=%2 IDENT=%3")
                          .arg(QDir::toNativeSeparators(programFilePath), databaseName, userIdent);
    if (testMode)
        command += QStringLiteral(" TEST");
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
