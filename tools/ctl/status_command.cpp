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
QStringList requestedDays(const QString& path)
{
    QStringList days;
    try {
        for (const QByteArray& line : readRequestLines(path))
            days << QString::fromLatin1(line.trimmed().split(' ').value(0));
    } catch (const ERequestFile&) {
        // A file the agent cannot read either: it sets it aside at its next look.
    }
    return days;
}

// Data files of days after the last exported one: what has not gone, as far as the folder
// tells (an agent's own list says it better).
QStringList unrecordedFiles(const QDir& exchange, const QDate& lastExported)
{
    QStringList files;
    for (const QString& name : exchange.entryList({QStringLiteral("PSHD_*.DAT")}, QDir::Files)) {
        const QDate day = QDate::fromString(name.section(u'_', 3, 3), QStringLiteral("yyyyMMdd"));
        if (day.isValid() && day > lastExported)
            files << exchange.filePath(name);
    }
    return files;
}

// What status tells, gathered from the stores, the exchange directory and the agent's state.
struct Status {
    std::optional<qint64> pid;
    std::optional<AgentStatus> agent;
    QDate last;
    std::optional<QDate> due;
    QStringList waiting;
    QJsonObject requests;
    QStringList alerts;
};

Status gather(AgentSettings& settings)
{
    const TKonfigEksportu& record = settings.record();
    const QDir exchange(exchangeDirectory(record.ParEksportDir));
    const QDateTime now = QDateTime::currentDateTime();
    Status status;
    status.pid = runningAgent(exchange.path());
    status.agent = readAgentStatus(agentStatusPath(settings.folder()));
    status.last = dayFromNumber(record.ParDataOstEksp);
    status.due = dueDay(status.last, now, record.ParGodz, record.ParMin);
    const qint64 checkPeriod =
        status.agent ? status.agent->checkPeriodMs : SchedulerNumbers::defaults().checkPeriod;
    status.waiting = status.pid && status.agent ? status.agent->uploadList
                                                : unrecordedFiles(exchange, status.last);
    for (const QString& name :
         exchange.entryList({u'*' + RequestFileSuffix}, QDir::Files | QDir::Hidden))
        status.requests.insert(name,
                               QJsonArray::fromStringList(requestedDays(exchange.filePath(name))));
    const QStringList setAside = exchange.entryList({QStringLiteral("*.bad")}, QDir::Files);
    if (status.agent && status.agent->attemptLimitReached)
        status.alerts << QStringLiteral("the attempt limit was reached (%1 attempts)")
                             .arg(status.agent->attemptLimit);
    // A due day is exported at the first check after its daily time.
    if (const std::optional<QDate>& due = status.due;
        due && now > QDateTime(due->addDays(1), QTime(record.ParGodz % 24, record.ParMin % 60))
                         .addMSecs(checkPeriod))
        status.alerts << QStringLiteral("the day %1 is overdue").arg(due->toString(Qt::ISODate));
    if (!setAside.isEmpty())
        status.alerts << QStringLiteral("request files set aside: %1").arg(setAside.join(u", "));
    return status;
}

QJsonObject asJson(const Status& s)
{
    const std::optional<AgentStatus>& agent = s.agent;
    return {
        {QStringLiteral("running"), bool(s.pid)},
        {QStringLiteral("pid"), s.pid ? *s.pid : 0},
        {QStringLiteral("lastExportedDay"), s.last.toString(Qt::ISODate)},
        {QStringLiteral("nextDay"), s.last.addDays(1).toString(Qt::ISODate)},
        {QStringLiteral("nextDayDue"), bool(s.due)},
        {QStringLiteral("waitingFiles"), QJsonArray::fromStringList(s.waiting)},
        {QStringLiteral("requestFiles"), s.requests},
        {QStringLiteral("failedAttempts"), agent ? agent->failedAttempts : 0},
        {QStringLiteral("agentStateWritten"),
         agent ? agent->written.toString(Qt::ISODate) : QString()},
        {QStringLiteral("attemptLimit"), agent ? agent->attemptLimit : 0},
        {QStringLiteral("attemptLimitReached"), agent && agent->attemptLimitReached},
        {QStringLiteral("requestsLastLooked"),
         agent ? agent->requestsLastLooked.toString(Qt::ISODate) : QString()},
        {QStringLiteral("recentAlerts"),
         QJsonArray::fromStringList(agent ? agent->alerts : QStringList())},
        {QStringLiteral("alerts"), QJsonArray::fromStringList(s.alerts)},
    };
}

QStringList asText(const Status& s)
{
    QStringList text{s.pid ? QStringLiteral("Agent: running (process %1)").arg(*s.pid)
                           : QStringLiteral("Agent: not running"),
                     QStringLiteral("Last exported day: %1").arg(s.last.toString(Qt::ISODate)),
                     QStringLiteral("Next day: %1%2")
                         .arg(s.last.addDays(1).toString(Qt::ISODate),
                              s.due ? QStringLiteral(" (due)") : QStringLiteral(" (not yet due)")),
                     QStringLiteral("Waiting files: %1").arg(s.waiting.size())};
    for (const QString& file : s.waiting)
        text << QStringLiteral("  ") + QDir::toNativeSeparators(file);
    for (auto request = s.requests.begin(); request != s.requests.end(); ++request)
        text << QStringLiteral("Request file %1: %2")
                    .arg(request.key(), request.value().toVariant().toStringList().join(u' '));
    if (const std::optional<AgentStatus>& agent = s.agent) {
        const QString moment = QStringLiteral("yyyy-MM-dd hh:mm:ss");
        text << QStringLiteral("Failed attempts: %1 of %2 (the agent's state of %3)")
                    .arg(agent->failedAttempts)
                    .arg(agent->attemptLimit)
                    .arg(agent->written.toString(moment))
             << QStringLiteral("Request files last looked for on the server: %1")
                    .arg(agent->requestsLastLooked.isValid()
                             ? agent->requestsLastLooked.toString(moment)
                             : QStringLiteral("not yet"));
        if (!agent->alerts.isEmpty())
            text << QStringLiteral("Last alerting lines:") << agent->alerts;
    }
    for (const QString& alert : s.alerts)
        text << QStringLiteral("ALERT: ") + alert;
    return text;
}

} // namespace

int showStatus(AgentSettings& settings, bool json)
{
    const Status status = gather(settings);
    if (json)
        std::printf("%s", QJsonDocument(asJson(status)).toJson().constData());
    else
        std::printf("%s\n", asText(status).join(u'\n').toLocal8Bit().constData());
    return status.alerts.isEmpty() ? 0 : 1;
}

} // namespace tarvexio
