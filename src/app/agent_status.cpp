#include "app/agent_status.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace tarvexio {

QString agentStatusPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral(".tarvexio.status"));
}

void writeAgentStatus(const QString& path, const AgentStatus& status)
{
    const QJsonObject object{
        {QStringLiteral("written"), status.written.toString(Qt::ISODate)},
        {QStringLiteral("uploadList"), QJsonArray::fromStringList(status.uploadList)},
        {QStringLiteral("failedAttempts"), status.failedAttempts},
        {QStringLiteral("attemptLimit"), status.attemptLimit},
        {QStringLiteral("attemptLimitReached"), status.attemptLimitReached},
        {QStringLiteral("checkPeriodMs"), status.checkPeriodMs},
        {QStringLiteral("alerts"), QJsonArray::fromStringList(status.alerts)},
        {QStringLiteral("requestsLastLooked"), status.requestsLastLooked.toString(Qt::ISODate)},
    };
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(object).toJson());
        file.commit();
    }
}

std::optional<AgentStatus> readAgentStatus(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    if (object.isEmpty())
        return std::nullopt;
    const auto strings = [&](const char* key) {
        return object.value(QLatin1StringView(key)).toVariant().toStringList();
    };
    AgentStatus status;
    status.written =
        QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODate);
    status.uploadList = strings("uploadList");
    status.failedAttempts = object.value(QStringLiteral("failedAttempts")).toInt();
    status.attemptLimit = object.value(QStringLiteral("attemptLimit")).toInt();
    status.attemptLimitReached = object.value(QStringLiteral("attemptLimitReached")).toBool();
    status.checkPeriodMs = object.value(QStringLiteral("checkPeriodMs")).toInteger();
    status.alerts = strings("alerts");
    status.requestsLastLooked = QDateTime::fromString(
        object.value(QStringLiteral("requestsLastLooked")).toString(), Qt::ISODate);
    return status;
}

QString sentByHandPath(const QString& exchangeDirectory)
{
    return QDir(exchangeDirectory).filePath(QStringLiteral(".tarvexio.sent"));
}

void recordSentByHand(const QString& exchangeDirectory, const QString& file)
{
    QFile marker(sentByHandPath(exchangeDirectory));
    if (marker.open(QIODevice::Append))
        marker.write(QDir::cleanPath(file).toUtf8() + '\n');
}

} // namespace tarvexio
