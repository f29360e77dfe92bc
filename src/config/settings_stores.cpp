#include "config/settings_stores.h"

#include "config/konfig_table.h"
#include "config/parameter_lines.h"

#include <QFileInfo>

namespace tarvexio {

namespace {

const QString ReadsFileName = QStringLiteral("ParKonfigZPliku");

} // namespace

SettingsStores::SettingsStores(TQMXBazaDanych& session, QString configurationFile)
    : session_(session)
    , configurationFile_(std::move(configurationFile))
{}

bool SettingsStores::ReadsFile() const
{
    return KonfigTableNumber(session_, ReadsFileName) != 0;
}

void SettingsStores::WriteReadsFileRow(bool readsFile)
{
    QStringList lines;
    AddParameterLine(lines, ReadsFileName, readsFile ? QStringLiteral("1") : QStringLiteral("0"));
    ReplaceKonfigRows(session_, lines, ReadsFileName);
}

QStringList SettingsStores::TableLines() const
{
    return KonfigTableLines(session_);
}

FileLoad SettingsStores::FileLines(QStringList& lines, QString* backupRead) const
{
    // A save stopped between the backup's rename and the new file's write leaves the backup
    // alone: it is the configuration, not a reason to start on defaults.
    QString path = configurationFile_;
    if (const QString backup = BackupPath(path);
        !QFileInfo::exists(path) && QFileInfo::exists(backup)) {
        path = backup;
        if (backupRead)
            *backupRead = backup;
    }
    return LoadParameterFile(path, lines);
}

StartSettings SettingsStores::ReadStart() const
{
    StartSettings start;
    start.fromFile = ReadsFile();
    if (start.fromFile)
        start.load = FileLines(start.lines, &start.backupRead);
    else
        start.lines = TableLines();
    return start;
}

QStringList SettingsStores::StartLines() const
{
    const StartSettings start = ReadStart();
    return start.load == FileLoad::Loaded ? start.lines : QStringList();
}

void SettingsStores::SaveTable(const QStringList& lines)
{
    ReplaceKonfigRows(session_, lines);
}

bool SettingsStores::SaveFile(const QStringList& lines)
{
    return SaveParameterFile(configurationFile_, lines);
}

bool SettingsStores::Save(const QStringList& lines, int mode, bool readsFile)
{
    switch (mode) {
    case TableAndFile:
        SaveTable(lines);
        return SaveFile(lines);
    case TableOnly:
        SaveTable(lines);
        return true;
    case FileOnly: {
        const bool saved = SaveFile(lines);
        WriteReadsFileRow(readsFile);
        return saved;
    }
    default: // an index the drop-down does not have saves nothing
        return true;
    }
}

} // namespace tarvexio
