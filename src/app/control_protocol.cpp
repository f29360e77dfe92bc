#include "app/control_protocol.h"

#include "app/delivery_ledger.h"
#include "app/setting_changes.h"
#include "app/settings_view.h"
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
    const QString command = request.value(QStringLiteral("command")).toString();
    return command == u"status" || command == u"ledger";
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

QJsonObject getAnswer(const QJsonObject& request, const QJsonObject& view)
{
    const QString key = request.value(QStringLiteral("key")).toString();
    const QJsonObject value = settingValue(view, key);
    return value.isEmpty() ? controlRefusal(key + QStringLiteral(": ") + unknownSettingText(key))
                           : controlAnswer(value);
}

QJsonObject ledgerAnswer(const QJsonObject& request, const DeliveryLedger& ledger)
{
    return controlAnswer(
        {{QStringLiteral("rows"), ledger.rows(request.value(QStringLiteral("days")).toInt(7))}});
}

} // namespace tarvexio
