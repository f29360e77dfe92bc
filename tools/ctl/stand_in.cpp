#include "stand_in.h"

#include "app/agent_snapshot.h"
#include "app/control_protocol.h"
#include "app/exchange_lock.h"
#include "app/record_controls.h"
#include "app/setting_changes.h"
#include "app/settings_view.h"
#include "config/parameter_list.h"
#include "export/data_file_name.h"
#include "transport/connection_test.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

namespace tarvexio {

StandIn::StandIn()
    : lock_(ExchangeLockName)
{}

bool StandIn::open(const QStringList& names)
{
    if (!settings_.open(names)) {
        error_ = settings_.error();
        return false;
    }
    const QString exchange = exchangeDirectory(settings_.record().ParEksportDir);
    if (lock_.hold(exchange) == DirectoryLock::Result::HeldByOther) {
        error_ = QStringLiteral("an agent (process %1) works on the exchange directory %2, but "
                                "its control socket was not found")
                     .arg(lock_.holderProcess())
                     .arg(QDir::toNativeSeparators(exchange));
        return false;
    }
    ledger_.open(QDir(settings_.folder()).filePath(DeliveryLedger::FileName));
    ledger_.rebuildIfNew(exchange, dayFromNumber(settings_.record().ParDataOstEksp));
    return true;
}

QJsonObject StandIn::answer(const QJsonObject& request)
{
    const QString command = request.value(QStringLiteral("command")).toString();
    if (command == u"status")
        return controlAnswer({{QStringLiteral("status"), status()}});
    const QJsonObject view = settingsView(settings_.record(), settings_.source());
    if (command == u"show")
        return controlAnswer(view);
    if (command == u"get")
        return getAnswer(request, view);
    if (command == u"set")
        return set(request);
    if (command == u"send")
        return send(request);
    if (command == u"test")
        return test();
    if (command == u"ledger")
        return ledgerAnswer(request, ledger_);
    return controlRefusal(QStringLiteral("no agent runs to take '%1'").arg(command));
}

QJsonObject StandIn::status()
{
    const TKonfigEksportu& record = settings_.record();
    AgentState state;
    state.now = QDateTime::currentDateTime();
    state.exchangeDirectory = exchangeDirectory(record.ParEksportDir);
    state.lastExported = dayFromNumber(record.ParDataOstEksp);
    state.hour = shownHour(record);
    state.minute = shownMinute(record);
    state.waitingFiles = ledger_.waiting();
    state.oldestWaiting = ledger_.oldestWaitingDay();
    state.lastFailure = ledger_.lastCause();
    return statusSnapshot(state);
}

QJsonObject StandIn::set(const QJsonObject& request)
{
    TKonfigEksportu& record = settings_.record();
    const SettingChanges changes = checkSettingChanges(
        record, request.value(QStringLiteral("settings")).toArray(),
        request.value(QStringLiteral("passwords")).toArray(), QDate::currentDate());
    if (!changes.errors.isEmpty())
        return controlRefusal(changes.errors.join(u'\n'));
    readParameterList(changes.lines, record);
    SettingsStores stores = settings_.stores();
    const QString file = QDir::toNativeSeparators(stores.configurationFile());
    if (!stores.save(writeParameterList(record), record.ParZapisKonfig,
                     record.ParKonfigZPliku != 0))
        return controlRefusal(
            QStringLiteral("the configuration file %1 could not be written").arg(file));
    return controlAnswer({{QStringLiteral("saved"),
                           storesSavedIn(record.ParZapisKonfig, stores.configurationFile())}});
}

QJsonObject StandIn::send(const QJsonObject& request)
{
    return sendAnswer(request, exchangeDirectory(settings_.record().ParEksportDir),
                      [this](const QString& path, QString* why) {
                          TFtpJobResult result;
                          ledger_.attemptStarting(path);
                          if (TDmFtp::RunSendJob(nullptr, settings_.ftpParameters(), path, result,
                                                 settings_.ftpPorts())) {
                              ledger_.sentByHand(path, result.DeliveredSize);
                              return true;
                          }
                          *why = result.FailureReason;
                          return false;
                      });
}

QJsonObject StandIn::test()
{
    return connectionTestAnswer(
        runConnectionTestReport(settings_.ftpParameters(), settings_.ftpPorts()));
}

} // namespace tarvexio
