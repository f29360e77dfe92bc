#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

// The configuration file sits beside the program (or in TARVEXIO_HOME) and is named after the
// program file: "tarvexio" gives "tarvexio.cfg" ("Tarvexio.exe" on Windows: "Tarvexio.cfg").
QString configurationFilePath(const QString& folder, const QString& programFilePath);

// "tarvexio.cfg" keeps its previous version as "tarvexio.~cfg".
QString backupPath(const QString& path);

enum class FileLoad { Missing, Loaded, Failed };

// Reads the lines of the file. A file that is not valid UTF-8 is read as Windows-1250; a
// byte-order mark is honoured; a file holding NUL bytes is not a configuration file (Failed).
FileLoad loadParameterFile(const QString& path, QStringList& lines);

// Keeps one backup, then writes every line ended by CR-LF in the system encoding (created with
// mode 0600 on POSIX: it holds coded passwords). False when any step failed.
bool saveParameterFile(const QString& path, const QStringList& lines);

} // namespace tarvexio
