#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace tarvexio {

// "<dir>/PSHD_<code>_HD0001_<yyyymmdd>_<hhmmss>.DAT"; the time is the generation start.
QString dataFilePath(const QString& directory, const QString& shopCode, const QDate& dataDate,
                     const QDateTime& generationStart);

// What a data file's name says: the shop's code (which may hold "_"), the day it holds and
// when it was made. None for a name that is not a data file's.
struct DataFileName {
    QString shopCode;
    QDate day;
    QTime made;
};
std::optional<DataFileName> parseDataFileName(const QString& fileName);

// Why a file may not be sent by hand (tarvexioctl send): it is not there, not in the exchange
// directory, or not a data file; empty when it may.
QString refusalToSendByHand(const QString& path, const QString& exchangeDirectory);

// The exchange directory without one trailing separator.
QString exchangeDirectory(const QString& text);

} // namespace tarvexio
