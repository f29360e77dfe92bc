#include "transport/request_file.h"

#include "transport/ftp_client.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

namespace tarvexio {

namespace {

[[noreturn]] void Failed(const QString& what, const QString& path)
{
    throw EFtpError(QStringLiteral("%1 %2").arg(what, path).toStdString());
}

// The non-blank lines of a file, without their line ends; none when it does not exist.
QList<QByteArray> NonBlankLines(const QString& path)
{
    QList<QByteArray> lines;
    QFile file(path);
    if (!file.exists())
        return lines;
    if (!file.open(QIODevice::ReadOnly))
        Failed(QStringLiteral("nie można odczytać"), path);
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (!text.trimmed().isEmpty())
            lines << text;
    }
    return lines;
}

} // namespace

void MergeFetchedRequestFile(const QString& fetchedPath, const QString& localPath)
{
    QList<QByteArray> lines = NonBlankLines(localPath);
    const qsizetype waiting = lines.size();
    for (const QByteArray& line : NonBlankLines(fetchedPath)) {
        if (!lines.contains(line))
            lines << line;
    }
    if (lines.size() > waiting) {
        QSaveFile file(localPath);
        if (!file.open(QIODevice::WriteOnly))
            Failed(QStringLiteral("nie można zapisać"), localPath);
        for (const QByteArray& line : std::as_const(lines))
            file.write(line + "\r\n");
        if (!file.commit())
            Failed(QStringLiteral("nie można zapisać"), localPath);
    }
    QFile::remove(fetchedPath);
}

} // namespace tarvexio
