#pragma once

#include <QJsonObject>
#include <QString>

#include <functional>

namespace tarvexio {

struct ConnectionTestReport;
class DeliveryLedger;

// The running agent's control socket: one JSON object a line each way. A request names the
// protocol it speaks and its command ({"protocol":1,"command":"status"}); the answer says
// whether it was done ({"protocol":1,"ok":true,...} or {"protocol":1,"ok":false,"error":"…"}).
constexpr int ControlProtocolVersion = 1;
// A line longer than this is refused, whatever it holds.
constexpr qsizetype ControlLineLimit = qsizetype(256) * 1024;

QJsonObject controlRequest(const QString& command, const QJsonObject& arguments = {});
QJsonObject controlAnswer(const QJsonObject& fields = {});
QJsonObject controlRefusal(const QString& error);
// A request that only reads the agent's state: it neither waits for the agent's work nor
// queues behind other requests.
bool controlRequestReadsOnly(const QJsonObject& request);
// The line that carries an object.
QByteArray controlLine(const QJsonObject& object);

// The answers of the agent and of the tool standing in for it, alike. A send: every file that
// is not a data file of the exchange directory is refused, the others go to sendOne, which
// says why one was not sent.
QJsonObject sendAnswer(const QJsonObject& request, const QString& exchangeDirectory,
                       const std::function<bool(const QString& path, QString* why)>& sendOne);
QJsonObject connectionTestAnswer(const ConnectionTestReport& report);
// One setting of the settings' view, by the request's key, or a refusal naming the nearest key.
QJsonObject getAnswer(const QJsonObject& request, const QJsonObject& view);
// The ledger's rows of the last days a request asks for ("days", 7 without).
QJsonObject ledgerAnswer(const QJsonObject& request, const DeliveryLedger& ledger);

} // namespace tarvexio
