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

QString dotted(const QDate& day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

// What is critical and what warns, each a line, the most pressing first.
struct Verdict {
    Health health = Health::Ok;
    QStringList critical;
    QStringList warnings;
};

// A day not delivered, and why, where a delivery failed.
QString notDelivered(const AgentState& state)
{
    const QDate day =
        state.oldestWaiting.isValid() ? state.oldestWaiting : state.lastExported.addDays(1);
    return QStringLiteral("%1 not delivered%2")
        .arg(dotted(day),
             state.lastFailure.isEmpty() ? QString() : QStringLiteral(": ") + state.lastFailure);
}

// A due day goes at the first check after its daily time, or, for an agent that found it
// waiting, at its first connection after the start; a retry period later it is late.
QDateTime lateFrom(const AgentState& state, const QDate& due)
{
    QDateTime from(due.addDays(1), QTime(state.hour, state.minute));
    if (state.started.isValid() && state.started > from)
        from = state.started;
    return from.addMSecs(state.numbers.checkPeriod + state.numbers.firstConnectionDelay +
                         state.numbers.retryPeriod);
}

Verdict judge(const AgentState& state, const std::optional<QDate>& due, const QDir& exchange)
{
    Verdict v;
    if (!state.running)
        v.critical << QStringLiteral("the agent is not running");
    if (state.lastExported.isValid() && state.lastExported > state.now.date())
        v.critical << QStringLiteral("the stored last exported day %1 is after today: check the "
                                     "clock")
                          .arg(state.lastExported.toString(Qt::ISODate));
    if (state.attemptLimitReached)
        v.critical << notDelivered(state)
                   << QStringLiteral("the attempt limit was reached (%1 attempts)")
                          .arg(state.numbers.attemptLimit);
    const bool overdue = due && state.now > lateFrom(state, *due);
    if (overdue)
        v.critical << QStringLiteral("the day %1 is overdue").arg(dotted(*due));
    if (state.failedAttempts > 0 && !state.attemptLimitReached)
        v.warnings << QStringLiteral("a retry is pending (%1 of %2 attempts failed): %3")
                          .arg(state.failedAttempts)
                          .arg(state.numbers.attemptLimit)
                          .arg(notDelivered(state));
    if (due && !overdue)
        v.warnings << QStringLiteral("catching up: the day %1 is due").arg(dotted(*due));
    if (const QStringList setAside = exchange.entryList({QStringLiteral("*.bad")}, QDir::Files);
        !setAside.isEmpty())
        v.warnings << QStringLiteral("request files set aside: %1").arg(setAside.join(u", "));
    v.health = !v.critical.isEmpty()   ? Health::Critical
               : !v.warnings.isEmpty() ? Health::Warning
                                       : Health::Ok;
    return v;
}

// Settings that cannot be read leave nothing to judge; a start under way is a warning.
Verdict judgeUnread(const AgentState& state)
{
    if (state.settingsUnread == u"the agent is starting")
        return {Health::Warning, {}, {state.settingsUnread}};
    return {Health::Unknown, {state.settingsUnread}, {}};
}

QString summary(const AgentState& state, const Verdict& v)
{
    if (v.health == Health::Ok)
        return QStringLiteral("OK - the last exported day is %1, %2 waiting")
            .arg(dotted(state.lastExported))
            .arg(state.waitingFiles.isEmpty()
                     ? QStringLiteral("no file")
                     : QString::number(state.waitingFiles.size()) + QStringLiteral(" files"));
    const QStringList& lines = v.critical.isEmpty() ? v.warnings : v.critical;
    return healthName(v.health) + QStringLiteral(" - ") + lines.front();
}

} // namespace

QString healthName(Health health)
{
    switch (health) {
    case Health::Ok:
        return QStringLiteral("OK");
    case Health::Warning:
        return QStringLiteral("WARNING");
    case Health::Critical:
        return QStringLiteral("CRITICAL");
    case Health::Unknown:
        break;
    }
    return QStringLiteral("UNKNOWN");
}

QJsonObject statusSnapshot(const AgentState& state)
{
    const QDir exchange(state.exchangeDirectory);
    const std::optional<QDate> due =
        dueDay(state.lastExported, state.now, state.hour, state.minute);
    const Verdict v =
        state.settingsUnread.isEmpty() ? judge(state, due, exchange) : judgeUnread(state);
    // The limit reached, the counter holds every attempt made.
    const int failed =
        state.attemptLimitReached ? state.numbers.attemptLimit : state.failedAttempts;
    return {
        {QStringLiteral("health"), healthName(v.health)},
        {QStringLiteral("exitCode"), int(v.health)},
        {QStringLiteral("summary"), summary(state, v)},
        {QStringLiteral("running"), state.running},
        {QStringLiteral("pid"), state.pid},
        {QStringLiteral("exchangeDirectory"), state.exchangeDirectory},
        {QStringLiteral("lastExportedDay"), state.lastExported.toString(Qt::ISODate)},
        {QStringLiteral("nextDay"), state.lastExported.addDays(1).toString(Qt::ISODate)},
        {QStringLiteral("nextDayDue"), bool(due)},
        {QStringLiteral("waitingFiles"), QJsonArray::fromStringList(state.waitingFiles)},
        {QStringLiteral("waitingCount"), state.waitingFiles.size()},
        {QStringLiteral("oldestWaitingDay"), state.oldestWaiting.toString(Qt::ISODate)},
        {QStringLiteral("lastFailure"), state.lastFailure},
        {QStringLiteral("requestFiles"), requestFiles(exchange)},
        {QStringLiteral("failedAttempts"), failed},
        {QStringLiteral("attemptLimit"), state.numbers.attemptLimit},
        {QStringLiteral("attemptLimitReached"), state.attemptLimitReached},
        {QStringLiteral("checkPeriodMs"), state.numbers.checkPeriod},
        {QStringLiteral("retryPeriodMs"), state.numbers.retryPeriod},
        {QStringLiteral("requestsLastLooked"), moment(state.requestsLastLooked)},
        {QStringLiteral("recentAlerts"), QJsonArray::fromStringList(state.recentAlerts)},
        {QStringLiteral("alerts"), QJsonArray::fromStringList(v.critical)},
        {QStringLiteral("warnings"), QJsonArray::fromStringList(v.warnings)},
    };
}

} // namespace tarvexio
