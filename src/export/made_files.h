#pragma once

#include <QDate>
#include <QString>

namespace tarvexio {

// Where an export puts the data files it makes, and what it learns there of a shop's day.
class MadeFiles {
public:
    virtual ~MadeFiles() = default;
    // A complete data file, to be delivered. One made again for the same shop and day replaces
    // the one that waited.
    virtual void made(const QString& path) = 0;
    // The shop's day has a file that waits or was delivered: it is not made again, unless the
    // service asks for the day.
    virtual bool hasCurrentFile(const QDate& day, const QString& shopCode) const = 0;
};

} // namespace tarvexio
