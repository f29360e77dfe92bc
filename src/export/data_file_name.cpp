#include "export/data_file_name.h"

namespace tarvexio {

QString ExchangeDirectory(const QString& text)
{
    QString directory = text;
#ifdef Q_OS_WIN
    if (directory.endsWith(u'\\') || directory.endsWith(u'/'))
        directory.chop(1);
#else
    if (directory.endsWith(u'/'))
        directory.chop(1);
#endif
    return directory;
}

QString DataFilePath(const QString& directory, const QString& shopCode, const QDate& dataDate,
                     const QDateTime& generationStart)
{
    const QTime time = generationStart.time();
    return QString::asprintf("%s/PSHD_%s_HD0001_%d%02d%02d_%02d%02d%02d.DAT",
                             qUtf8Printable(directory), qUtf8Printable(shopCode), dataDate.year(),
                             dataDate.month(), dataDate.day(), time.hour(), time.minute(),
                             time.second());
}

} // namespace tarvexio
