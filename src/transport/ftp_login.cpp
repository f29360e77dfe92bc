#include "transport/ftp_client.h"

namespace tarvexio {

void FtpLogin::setServer(const QString& server)
{
    QString name = server.trimmed();
    tls = name.startsWith(QStringLiteral("ftps://"), Qt::CaseInsensitive);
    if (tls || name.startsWith(QStringLiteral("ftp://"), Qt::CaseInsensitive))
        name = name.mid(name.indexOf(u'/') + 2);
    while (name.endsWith(u'/'))
        name.chop(1);
    host = name;
}

} // namespace tarvexio
