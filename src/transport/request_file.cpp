#include "transport/request_file.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace tarvexio {

namespace {

[[noreturn]] void failed(const QString& what, const QString& path)
{
    throw ERequestFile(
        QStringLiteral("%1 %2").arg(what, QDir::toNativeSeparators(path)).toStdString());
}

// A part of the date that is not all digits counts as 0, which no valid date has.
int datePart(const QByteArray& line, qsizetype from, qsizetype length)
{
    const QByteArray part = line.mid(from, length);
    if (part.size() != length ||
        !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return part.toInt();
}

} // namespace

QString requestFilePath(const QString& folder, const QString& code)
{
    return folder + u'/' + code + RequestFileSuffix;
}

QDate requestedDay(const QByteArray& line)
{
    return {datePart(line, 0, 4), datePart(line, 4, 2), datePart(line, 6, 2)};
}

QList<QByteArray> readRequestLines(const QString& path)
{
    QList<QByteArray> lines;
    QFile file(path);
    if (!file.exists())
        return lines;
    if (!file.open(QIODevice::ReadOnly))
        failed(QStringLiteral("nie można odczytać"), path);
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if (!text.trimmed().isEmpty())
            lines << text;
    }
    return lines;
}

void writeRequestLines(const QString& path, const QList<QByteArray>& lines)
{
    if (lines.isEmpty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            failed(QStringLiteral("nie można usunąć"), path);
        return;
    }
    QFile copy(path + u'~');
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate))
        failed(QStringLiteral("nie można zapisać"), copy.fileName());
    for (const QByteArray& line : lines)
        copy.write(line + "\r\n");
    if (!copy.flush())
        failed(QStringLiteral("nie można zapisać"), copy.fileName());
    copy.close();
    if ((QFile::exists(path) && !QFile::remove(path)) || !QFile::rename(copy.fileName(), path))
        failed(QStringLiteral("nie można zapisać"), path);
}

void mergeFetchedRequestFile(const QString& fetchedPath, const QString& localPath)
{
    QList<QByteArray> lines = readRequestLines(localPath);
    const qsizetype waiting = lines.size();
    for (const QByteArray& line : readRequestLines(fetchedPath)) {
        if (!lines.contains(line))
            lines << line;
    }
    if (lines.size() > waiting)
        writeRequestLines(localPath, lines);
    QFile::remove(fetchedPath);
}

std::optional<qsizetype> removeRequestLine(const QString& path, const QByteArray& line)
{
    QList<QByteArray> lines = readRequestLines(path);
    if (!lines.removeOne(line))
        return std::nullopt;
    writeRequestLines(path, lines);
    return lines.size();
}

} // namespace tarvexio
