#include "config/konfig_table.h"

#include "config/parameter_lines.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/session.h"
#include "db/sql_literals.h"

namespace tarvexio {

const QString KonfigGroup = QStringLiteral("Tarvexio");

namespace {

QString insertStatement(const QString& name, const QString& value)
{
    return QStringLiteral("insert into Konfig (ParGrupa, ParNazwa, ParWartosc)\r\n") +
           QStringLiteral("values (%1, %2, %3)")
               .arg(ToDBField(KonfigGroup), ToDBField(name), ToDBField(value));
}

// The statement's own text says little to an operator; say which store failed.
[[noreturn]] void tableFailed(const EQMXDBError& error)
{
    throw EQMXDBError(QStringLiteral("Tabela konfiguracji Konfig jest niedostępna: %1")
                          .arg(QString::fromUtf8(error.what())),
                      error.code());
}

// The write pattern: a transaction of our own unless the caller has one open.
template <typename Work> void inTransaction(TQMXBazaDanych& session, Work work)
{
    const bool started = !session.GetCzyWTransakcji();
    if (started)
        session.StartTransakcji();
    try {
        work();
        if (started)
            session.KoniecTransakcji();
    } catch (...) {
        if (started)
            session.WycofTransakcji();
        throw;
    }
}

} // namespace

QStringList konfigTableLines(TQMXBazaDanych& session)
{
    QStringList lines;
    TKMQuery query;
    session.PowiazQuery(query);
    query.setSql(QStringLiteral("select ParNazwa, ParWartosc from Konfig where ParGrupa = %1")
                     .arg(ToDBField(KonfigGroup)));
    try {
        query.Open();
        const TMField name = query.FieldByName(QStringLiteral("ParNazwa"));
        const TMField value = query.FieldByName(QStringLiteral("ParWartosc"));
        for (; !query.Eof(); query.Next()) {
            // A nameless row still counts as a row of the group.
            const QString trimmedName = trimmedParameterText(name.GetAsString());
            addParameterLine(lines, trimmedName, trimmedParameterText(value.GetAsString()));
        }
    } catch (const EQMXDBError& error) {
        tableFailed(error);
    }
    return lines;
}

int konfigTableNumber(TQMXBazaDanych& session, const QString& name)
{
    TKMQuery query;
    session.PowiazQuery(query);
    query.setSql(QStringLiteral("select ParNazwa, ParWartosc from Konfig where ParGrupa = %1 "
                                "and ParNazwa = %2")
                     .arg(ToDBField(KonfigGroup), ToDBField(name)));
    try {
        query.Open();
        if (query.GetCount() != 1)
            return 0;
        return parameterNumber(query.FieldByName(QStringLiteral("ParWartosc")).GetAsString(), 0);
    } catch (const EQMXDBError& error) {
        tableFailed(error);
    }
}

void replaceKonfigRows(TQMXBazaDanych& session, const QStringList& lines, const QString& onlyName)
{
    QString deletion =
        QStringLiteral("delete from Konfig where ParGrupa = %1").arg(ToDBField(KonfigGroup));
    if (!onlyName.isEmpty())
        deletion += QStringLiteral(" and ParNazwa = %1").arg(ToDBField(onlyName));
    try {
        inTransaction(session, [&] {
            session.ExecSQL(deletion);
            for (int i = 0; i < lines.size(); ++i) {
                const QString name = parameterName(lines, i);
                if (!name.isEmpty())
                    session.ExecSQL(insertStatement(name, parameterValue(lines, i)));
            }
        });
    } catch (const EQMXDBError& error) {
        tableFailed(error);
    }
}

} // namespace tarvexio
