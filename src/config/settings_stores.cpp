#include "config/settings_stores.h"

#include "config/konfig_table.h"
#include "config/parameter_lines.h"

#include <QDir>
#include <QFileInfo>

namespace tarvexio {

namespace {

const QString ReadsFileName = QStringLiteral("ParKonfigZPliku");

} // namespace

SettingsStores::SettingsStores(TQMXBazaDanych& session, QString configurationFile)
    : session_(session)
    , configurationFile_(std::move(configurationFile))
{}

bool SettingsStores::readsFile() const
{
    return konfigTableNumber(session_, ReadsFileName) != 0;
}

void SettingsStores::writeReadsFileRow(bool readsFile)
{
    QStringList lines;
    addParameterLine(lines, ReadsFileName, readsFile ? QStringLiteral("1") : QStringLiteral("0"));
    replaceKonfigRows(session_, lines, ReadsFileName);
}

QStringList SettingsStores::tableLines() const
{
    return konfigTableLines(session_);
}

FileLoad SettingsStores::fileLines(QStringList& lines, QString* backupRead) const
{
    // A save stopped between the backup's rename and the new file's write leaves the backup
    // alone: it is the configuration, not a reason to start on defaults.
    QString path = configurationFile_;
    if (const QString backup = backupPath(path);
        !QFileInfo::exists(path) && QFileInfo::exists(backup)) {
        path = backup;
        if (backupRead)
            *backupRead = backup;
    }
    return loadParameterFile(path, lines);
}

StartSettings SettingsStores::readStart() const
{
    StartSettings start;
    start.fromFile = readsFile();
    if (start.fromFile)
        start.load = fileLines(start.lines, &start.backupRead);
    else
        start.lines = tableLines();
    return start;
}

QStringList SettingsStores::startLines() const
{
    const StartSettings start = readStart();
    return start.load == FileLoad::Loaded ? start.lines : QStringList();
}

void SettingsStores::saveTable(const QStringList& lines)
{
    replaceKonfigRows(session_, lines);
}

bool SettingsStores::saveFile(const QStringList& lines)
{
    return saveParameterFile(configurationFile_, lines);
}

bool SettingsStores::save(const QStringList& lines, int mode, bool readsFile)
{
    switch (mode) {
    case TableAndFile:
        saveTable(lines);
        return saveFile(lines);
    case TableOnly:
        saveTable(lines);
        return true;
    case FileOnly: {
        const bool saved = saveFile(lines);
        writeReadsFileRow(readsFile);
        return saved;
    }
    default: // an index the drop-down does not have saves nothing
        return true;
    }
}

QString storesSavedIn(int mode, const QString& configurationFile)
{
    QString file = QDir::toNativeSeparators(configurationFile);
    switch (mode) {
    case SettingsStores::TableAndFile:
        return QStringLiteral("the Konfig table and ") + file;
    case SettingsStores::TableOnly:
        return QStringLiteral("the Konfig table");
    default:
        return file;
    }
}

} // namespace tarvexio
