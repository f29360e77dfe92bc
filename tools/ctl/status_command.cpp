#include "status_command.h"

#include "agent_settings.h"
#include "app/agent_status.h"
#include "app/command_line.h"
#include "app/day_rule.h"
#include "export/data_file_name.h"
#include "running_agent.h"
#include "transport/request_file.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace tarvexio {

namespace {

// The days a request file asks for, as its lines name them.
QStringList RequestedDays(const QString& path)
{
    QStringList days;
    try {
        for (const QByteArray& line : ReadRequestLines(path))
            days << QString::fromLatin1(line.trimmed().split(' ').value(0));
    } catch (const ERequestFile&) {
        // A file the agent cannot read either: it sets it aside at its next look.
    }
    return days;
}

// Data files of days after the last exported one: what has not gone, as far as the folder
// tells (an agent's own list says it better).
QStringList UnrecordedFiles(const QDir& exchange, const QDate& lastExported)
{
    QStringList files;
    for (const QString& name : exchange.entryList({QStringLiteral("PSHD_*.DAT")}, QDir::Files)) {
        const QDate day = QDate::fromString(name.section(u'_', 3, 3), QStringLiteral("yyyyMMdd"));
        if (day.isValid() && day > lastExported)
            files << exchange.filePath(name);
    }
    return files;
}

} // namespace

int ShowStatus(AgentSettings& settings, bool json)
{
    const TKonfigEksportu& record = settings.record();
    const QDir exchange(ExchangeDirectory(record.ParEksportDir));
    const QDateTime now = QDateTime::currentDateTime();
    const std::optional<qint64> pid = RunningAgent(exchange.path());
    const std::optional<AgentStatus> agent = ReadAgentStatus(AgentStatusPath(settings.folder()));
    const QDate last = DayFromNumber(record.ParDataOstEksp);
    const std::optional<QDate> due = DueDay(last, now, record.ParGodz, record.ParMin);
    const qint64 checkPeriod =
        agent ? agent->checkPeriodMs : SchedulerNumbers::Defaults().checkPeriod;
    const QStringList waiting = pid && agent ? agent->uploadList : UnrecordedFiles(exchange, last);

    QJsonObject requests;
    for (const QString& name :
         exchange.entryList({u'*' + RequestFileSuffix}, QDir::Files | QDir::Hidden))
        requests.insert(name, QJsonArray::fromStringList(RequestedDays(exchange.filePath(name))));
    const QStringList setAside = exchange.entryList({QStringLiteral("*.bad")}, QDir::Files);

    QStringList alerts;
    if (agent && agent->attemptLimitReached)
        alerts << QStringLiteral("the attempt limit was reached (%1 attempts)")
                      .arg(agent->attemptLimit);
    // A due day is exported at the first check after its daily time.
    if (due && now > QDateTime(due->addDays(1), QTime(record.ParGodz % 24, record.ParMin % 60))
                         .addMSecs(checkPeriod))
        alerts << QStringLiteral("the day %1 is overdue").arg(due->toString(Qt::ISODate));
    if (!setAside.isEmpty())
        alerts << QStringLiteral("request files set aside: %1").arg(setAside.join(u", "));

    const QJsonObject status{
        {QStringLiteral("running"), bool(pid)},
        {QStringLiteral("pid"), pid ? *pid : 0},
        {QStringLiteral("lastExportedDay"), last.toString(Qt::ISODate)},
        {QStringLiteral("nextDay"), last.addDays(1).toString(Qt::ISODate)},
        {QStringLiteral("nextDayDue"), bool(due)},
        {QStringLiteral("waitingFiles"), QJsonArray::fromStringList(waiting)},
        {QStringLiteral("requestFiles"), requests},
        {QStringLiteral("failedAttempts"), agent ? agent->failedAttempts : 0},
        {QStringLiteral("agentStateWritten"),
         agent ? agent->written.toString(Qt::ISODate) : QString()},
        {QStringLiteral("attemptLimit"), agent ? agent->attemptLimit : 0},
        {QStringLiteral("attemptLimitReached"), agent && agent->attemptLimitReached},
        {QStringLiteral("requestsLastLooked"),
         agent ? agent->requestsLastLooked.toString(Qt::ISODate) : QString()},
        {QStringLiteral("recentAlerts"),
         QJsonArray::fromStringList(agent ? agent->alerts : QStringList())},
        {QStringLiteral("alerts"), QJsonArray::fromStringList(alerts)},
    };
    if (json) {
        std::printf("%s", QJsonDocument(status).toJson().constData());
        return alerts.isEmpty() ? 0 : 1;
    }
    QStringList text{pid ? QStringLiteral("Agent: running (process %1)").arg(*pid)
                         : QStringLiteral("Agent: not running"),
                     QStringLiteral("Last exported day: %1").arg(last.toString(Qt::ISODate)),
                     QStringLiteral("Next day: %1%2")
                         .arg(last.addDays(1).toString(Qt::ISODate),
                              due ? QStringLiteral(" (due)") : QStringLiteral(" (not yet due)")),
                     QStringLiteral("Waiting files: %1").arg(waiting.size())};
    for (const QString& file : waiting)
        text << QStringLiteral("  ") + QDir::toNativeSeparators(file);
    for (auto request = requests.begin(); request != requests.end(); ++request)
        text << QStringLiteral("Request file %1: %2")
                    .arg(request.key(), request.value().toVariant().toStringList().join(u' '));
    if (agent)
        text << QStringLiteral("Failed attempts: %1 of %2 (the agent's state of %3)")
                    .arg(agent->failedAttempts)
                    .arg(agent->attemptLimit)
                    .arg(agent->written.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    if (agent)
        text << QStringLiteral("Request files last looked for on the server: %1")
                    .arg(agent->requestsLastLooked.isValid()
                             ? agent->requestsLastLooked.toString(
                                   QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                             : QStringLiteral("not yet"));
    if (agent && !agent->alerts.isEmpty())
        text << QStringLiteral("Last alerting lines:") << agent->alerts;
    for (const QString& alert : std::as_const(alerts))
        text << QStringLiteral("ALERT: ") + alert;
    std::printf("%s\n", text.join(u'\n').toLocal8Bit().constData());
    return alerts.isEmpty() ? 0 : 1;
}

} // namespace tarvexio
