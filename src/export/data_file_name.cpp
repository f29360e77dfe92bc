#include "export/data_file_name.h"

#include "platform/paths.h"

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

} // namespace tarvexio
