#include "app/control_protocol.h"

#include "export/data_file_name.h"
#include "transport/connection_test.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace tarvexio {

QJsonObject controlRequest(const QString& command, const QJsonObject& arguments)
{
    QJsonObject request = arguments;
    request.insert(QStringLiteral("protocol"), ControlProtocolVersion);
    request.insert(QStringLiteral("command"), command);
    return request;
}

QJsonObject controlAnswer(const QJsonObject& fields)
{
    QJsonObject answer = fields;
    answer.insert(QStringLiteral("protocol"), ControlProtocolVersion);
    answer.insert(QStringLiteral("ok"), true);
    return answer;
}

QJsonObject controlRefusal(const QString& error)
{
    return {{QStringLiteral("protocol"), ControlProtocolVersion},
            {QStringLiteral("ok"), false},
            {QStringLiteral("error"), error}};
}

bool controlRequestReadsOnly(const QJsonObject& request)
{
    return request.value(QStringLiteral("command")).toString() == u"status";
}

QByteArray controlLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QJsonObject sendAnswer(const QJsonObject& request, const QString& exchangeDirectory,
                       const std::function<bool(const QString& path, QString* why)>& sendOne)
{
    QJsonArray results;
    for (const QJsonValue value : request.value(QStringLiteral("files")).toArray()) {
        const QString path = QFileInfo(value.toString()).absoluteFilePath();
        QString reason = refusalToSendByHand(path, exchangeDirectory);
        const bool refused = !reason.isEmpty();
        const bool sent = !refused && sendOne(path, &reason);
        results << QJsonObject{{QStringLiteral("file"), path},
                               {QStringLiteral("sent"), sent},
                               {QStringLiteral("refused"), refused},
                               {QStringLiteral("reason"), reason}};
    }
    return controlAnswer({{QStringLiteral("results"), results}});
}

QJsonObject connectionTestAnswer(const ConnectionTestReport& report)
{
    return controlAnswer({{QStringLiteral("succeeded"), report.succeeded},
                          {QStringLiteral("lines"), QJsonArray::fromStringList(report.lines)}});
}

} // namespace tarvexio
