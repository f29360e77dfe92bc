#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

namespace tarvexio {

// The request files of the data-collection service: "<shop code>_braki.kvr", one requested
// day a line ("yyyymmdd" and anything after it), lines ending in CR LF. Every reader and writer
// of them goes through here.

// A request file is named by a shop's code and this; the server's are matched by containing it.
inline const QString RequestFileSuffix = QStringLiteral("_braki.kvr");

// A request file that cannot be read or written; its text names the file.
class ERequestFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The request file of a shop code in a folder.
QString requestFilePath(const QString& folder, const QString& code);

// The day a line asks for: its first eight characters as year, month and day; a part that is
// not all digits counts as 0, so the day is then invalid.
QDate requestedDay(const QByteArray& line);

// The lines that ask for something, without their line ends, in their order: a blank line (a
// last line end too many) asks for nothing, and a bare LF ends a line too. None when the file
// does not exist; raises ERequestFile when it cannot be read.
QList<QByteArray> readRequestLines(const QString& path);

// The file made to hold these lines, through a copy "<path>~" that replaces it; a file left
// without lines is removed. Raises ERequestFile; the copy may then stay beside the file.
void writeRequestLines(const QString& path, const QList<QByteArray>& lines);

// A request file fetched from the server joins the local file of its name, which may still
// hold days waiting to be handled: its lines that are not there yet are added at the end, in
// their order. The fetched file is removed. Raises ERequestFile; the local file then stays as
// it was.
void mergeFetchedRequestFile(const QString& fetchedPath, const QString& localPath);

// Drops one line that was handled (wherever it now stands, lines may have joined since); the
// file goes with its last line. The number of lines left; none when the line is no longer
// there (handled already).
std::optional<qsizetype> removeRequestLine(const QString& path, const QByteArray& line);

} // namespace tarvexio
