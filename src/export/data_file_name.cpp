#include "export/data_file_name.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tarvexio {

QString exchangeDirectory(const QString& text)
{
    return withoutTrailingSeparator(text);
}

QString dataFilePath(const QString& directory, const QString& shopCode, const QDate& dataDate,
                     const QDateTime& generationStart)
{
    const QTime time = generationStart.time();
    return QString::asprintf("%s/PSHD_%s_HD0001_%d%02d%02d_%02d%02d%02d.DAT",
                             qUtf8Printable(directory), qUtf8Printable(shopCode), dataDate.year(),
                             dataDate.month(), dataDate.day(), time.hour(), time.minute(),
                             time.second());
}

std::optional<DataFileName> parseDataFileName(const QString& fileName)
{
    // Read from the end: the code between "PSHD_" and "_HD0001_" may hold "_" itself.
    static const QRegularExpression name(
        QStringLiteral("^PSHD_(.+)_HD0001_(\\d{8})_(\\d{6})\\.DAT$"));
    const QRegularExpressionMatch match = name.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    DataFileName parsed{match.captured(1),
                        QDate::fromString(match.captured(2), QStringLiteral("yyyyMMdd")),
                        QTime::fromString(match.captured(3), QStringLiteral("hhmmss"))};
    if (!parsed.day.isValid() || !parsed.made.isValid())
        return std::nullopt;
    return parsed;
}

QString refusalToSendByHand(const QString& path, const QString& exchangeDirectory)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return QStringLiteral("no such file");
    if (file.canonicalPath() != QFileInfo(exchangeDirectory).canonicalFilePath())
        return QStringLiteral("not in the exchange directory %1")
            .arg(QDir::toNativeSeparators(exchangeDirectory));
    if (!parseDataFileName(file.fileName()))
        return QStringLiteral("not a data file (PSHD_<code>_HD0001_<day>_<time>.DAT)");
    return {};
}

} // namespace tarvexio
