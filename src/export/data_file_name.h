#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace tarvexio {

// "<dir>/PSHD_<code>_HD0001_<yyyymmdd>_<hhmmss>.DAT"; the time is the generation start.
QString dataFilePath(const QString& directory, const QString& shopCode, const QDate& dataDate,
                     const QDateTime& generationStart);

// The exchange directory without one trailing separator.
QString exchangeDirectory(const QString& text);

} // namespace tarvexio
