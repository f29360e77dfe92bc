#include "config/configuration_file.h"

#include "platform/program_file.h"
#include "platform/windows1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvexio {

QString configurationFilePath(const QString& folder, const QString& programFilePath)
{
    const QString name = programBaseName(programFilePath);
    QString base = folder;
    if (!base.endsWith(u'/') && !base.endsWith(u'\\'))
        base += u'/';
    return base + name + QStringLiteral(".cfg");
}

QString backupPath(const QString& path)
{
    const QFileInfo file(path);
    const QString name = file.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString backupName =
        dot < 0 ? name + QStringLiteral(".~") : name.left(dot + 1) + u'~' + name.mid(dot + 1);
    return file.dir().filePath(backupName);
}

namespace {

QString decodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringConverter::Utf16);
        return utf16.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1250(bytes) : text;
}

} // namespace

FileLoad loadParameterFile(const QString& path, QStringList& lines)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileLoad::Missing;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return FileLoad::Failed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileLoad::Failed;
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16 && bytes.contains('\0'))
        return FileLoad::Failed;
    QString text = decodeText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return FileLoad::Loaded;
}

bool saveParameterFile(const QString& path, const QStringList& lines)
{
    if (QFileInfo::exists(path)) {
        const QString backup = backupPath(path);
        if (QFileInfo::exists(backup) && !QFile::remove(backup))
            return false;
        if (!QFile::rename(path, backup))
            return false;
    }
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += encoder.encode(line) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace tarvexio
