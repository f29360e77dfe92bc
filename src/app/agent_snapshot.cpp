#include "app/agent_snapshot.h"

#include "app/day_rule.h"
#include "transport/request_file.h"

#include <QDir>
#include <QJsonArray>

namespace tarvexio {

namespace {

QString moment(const QDateTime& value)
{
    return value.isValid() ? value.toString(Qt::ISODate) : QString();
}

// The request files of the exchange directory and the days they ask for, in their order.
QJsonObject requestFiles(const QDir& exchange)
{
    QJsonObject files;
    for (const QString& name :
         exchange.entryList({u'*' + RequestFileSuffix}, QDir::Files | QDir::Hidden)) {
        QJsonArray days;
        try {
            for (const QByteArray& line : readRequestLines(exchange.filePath(name)))
                days << QString::fromLatin1(line.trimmed().split(' ').value(0));
        } catch (const ERequestFile&) {
            // One the agent cannot read either: it sets it aside at its next look.
        }
        files.insert(name, days);
    }
    return files;
}

QStringList alerts(const AgentState& state, const std::optional<QDate>& due, const QDir& exchange)
{
    QStringList alerts;
    if (!state.settingsUnread.isEmpty())
        return {state.settingsUnread};
    if (state.lastExported.isValid() && state.lastExported > state.now.date())
        alerts << QStringLiteral("the stored last exported day %1 is after today: check the clock")
                      .arg(state.lastExported.toString(Qt::ISODate));
    if (state.attemptLimitReached)
        alerts << QStringLiteral("the attempt limit was reached (%1 attempts)")
                      .arg(state.numbers.attemptLimit);
    // A due day is exported at the first check after its daily time.
    if (due && state.now > QDateTime(due->addDays(1), QTime(state.hour, state.minute))
                               .addMSecs(state.numbers.checkPeriod))
        alerts << QStringLiteral("the day %1 is overdue").arg(due->toString(Qt::ISODate));
    if (const QStringList setAside = exchange.entryList({QStringLiteral("*.bad")}, QDir::Files);
        !setAside.isEmpty())
        alerts << QStringLiteral("request files set aside: %1").arg(setAside.join(u", "));
    return alerts;
}

} // namespace

QJsonObject statusSnapshot(const AgentState& state)
{
    const QDir exchange(state.exchangeDirectory);
    const std::optional<QDate> due =
        dueDay(state.lastExported, state.now, state.hour, state.minute);
    return {
        {QStringLiteral("running"), state.running},
        {QStringLiteral("pid"), state.pid},
        {QStringLiteral("exchangeDirectory"), state.exchangeDirectory},
        {QStringLiteral("lastExportedDay"), state.lastExported.toString(Qt::ISODate)},
        {QStringLiteral("nextDay"), state.lastExported.addDays(1).toString(Qt::ISODate)},
        {QStringLiteral("nextDayDue"), bool(due)},
        {QStringLiteral("waitingFiles"), QJsonArray::fromStringList(state.waitingFiles)},
        {QStringLiteral("waitingCount"), state.waitingFiles.size()},
        {QStringLiteral("oldestWaitingDay"), state.oldestWaiting.toString(Qt::ISODate)},
        {QStringLiteral("requestFiles"), requestFiles(exchange)},
        {QStringLiteral("failedAttempts"), state.failedAttempts},
        {QStringLiteral("attemptLimit"), state.numbers.attemptLimit},
        {QStringLiteral("attemptLimitReached"), state.attemptLimitReached},
        {QStringLiteral("checkPeriodMs"), state.numbers.checkPeriod},
        {QStringLiteral("requestsLastLooked"), moment(state.requestsLastLooked)},
        {QStringLiteral("recentAlerts"), QJsonArray::fromStringList(state.recentAlerts)},
        {QStringLiteral("alerts"), QJsonArray::fromStringList(alerts(state, due, exchange))},
    };
}

} // namespace tarvexio
