#pragma once

#include "config/configuration_file.h"

#include <QString>
#include <QStringList>

namespace tarvexio {

class TQMXBazaDanych;

// What a start reads: the file when the read-from-file row says so, else the table.
struct StartSettings {
    bool fromFile = false;
    FileLoad load = FileLoad::Loaded; // the file's outcome; the table always loads
    QStringList lines;
    QString backupRead; // a lone backup read in the file's stead (a save cut short)
};

// The settings record's two stores, the Konfig table (group "Tarvexio") and the configuration
// file, as the agent reads and writes them, without a window: the window's store and the
// operator's tool go through here, so what one writes the other reads.
class SettingsStores {
public:
    enum SaveMode { TableAndFile = 0, TableOnly = 1, FileOnly = 2 };

    SettingsStores(TQMXBazaDanych& session, QString configurationFile);

    const QString& configurationFile() const { return configurationFile_; }

    // The read-from-file row: whether a start reads the file instead of the table.
    bool readsFile() const;
    void writeReadsFileRow(bool readsFile);

    QStringList tableLines() const;
    // The file's lines; a lone backup (a save cut short) is read in its stead and named in
    // backupRead.
    FileLoad fileLines(QStringList& lines, QString* backupRead = nullptr) const;
    // The one place that decides which store a start reads, and what it finds there.
    StartSettings readStart() const;
    // The lines of the store a start reads (empty when it has none).
    QStringList startLines() const;

    void saveTable(const QStringList& lines);
    bool saveFile(const QStringList& lines);
    // Both stores, or one, as the record's save mode says; the file-only mode also writes the
    // read-from-file row as readsFile says. False when the file could not be written.
    bool save(const QStringList& lines, int mode, bool readsFile);

private:
    TQMXBazaDanych& session_;
    QString configurationFile_;
};

// The stores a save in that mode writes, as an operator is told ("the Konfig table and <file>").
QString storesSavedIn(int mode, const QString& configurationFile);

} // namespace tarvexio
