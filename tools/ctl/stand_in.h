#pragma once

#include "agent_settings.h"
#include "app/delivery_ledger.h"
#include "platform/directory_lock.h"

#include <QJsonObject>

namespace tarvexio {

// What tarvexioctl does itself where no agent runs: the agent's answers, from the agent's
// stores and with its code, the exchange directory's lock held for the whole command (an agent
// that starts meanwhile waits for it).
class StandIn {
public:
    StandIn();

    // The stores opened with the database's names (BAZA= and IDENT=, else the environment's or
    // the remembered ones) and the lock taken; false with error() when that cannot be.
    bool open(const QStringList& names);
    const QString& error() const { return error_; }

    QJsonObject answer(const QJsonObject& request);

private:
    QJsonObject status();
    QJsonObject set(const QJsonObject& request);
    QJsonObject send(const QJsonObject& request);
    QJsonObject test();

    AgentSettings settings_;
    DeliveryLedger ledger_{settings_.log()};
    DirectoryLock lock_;
    QString error_;
};

} // namespace tarvexio
