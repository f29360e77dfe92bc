#include "db/sql_literals.h"

namespace tarvexio {

QString ToDBField(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString ToDBField(const QDate& day, SqlEngine engine)
{
    const QString format =
        engine == SqlEngine::ODBC ? QStringLiteral("yyyyMMdd") : QStringLiteral("yyyy-MM-dd");
    return u'\'' + day.toString(format) + QStringLiteral(" 00:00:00'");
}

} // namespace tarvexio
