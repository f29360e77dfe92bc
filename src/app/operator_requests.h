#pragma once

#include "app/control_server.h"

#include <QJsonObject>

namespace tarvexio {

class AgentStart;
class AgentWindow;
class Clock;
class DeliveryLedger;
class ErrorReport;
class EventLog;
class ManualExport;
class Scheduler;
class SessionOwner;
class SettingsKeeper;
class StatusReport;
class UploadStep;
class WindowModel;

// What the operator asks of the running agent from outside it (tarvexioctl, through the control
// socket): its status, its settings read and changed, work now, files sent, the connection
// test. Each is done in the agent's own loop, between ticks.
class OperatorRequests final : public ControlCommands {
public:
    struct Context {
        WindowModel& model;
        EventLog& log;
        Clock& clock;
        SessionOwner& session;
        Scheduler& scheduler;
        SettingsKeeper& settings;
        UploadStep& upload;
        ManualExport& manualExport;
        StatusReport& status;
        AgentWindow& window;
        const AgentStart& start;
        ErrorReport& errors;
        const DeliveryLedger& ledger;
    };

    explicit OperatorRequests(Context context);

    QJsonObject answer(const QJsonObject& request) override;
    bool mustWait(const QJsonObject& request) const override;

    // The scheduler's tick now: a waiting file is sent, a due day exported, without waiting for
    // the check period. Not while the window is in use or a manual export runs, nor while the
    // program ends.
    void workNow();
    // SIGHUP: the settings' stores are read again, with one line.
    void reloadSettings();

private:
    // Empty once the settings are read; else why they could not be.
    QString readSettings();
    QJsonObject show() const;
    QJsonObject get(const QJsonObject& request) const;
    QJsonObject set(const QJsonObject& request);
    QJsonObject sendNow();
    QJsonObject send(const QJsonObject& request);
    QJsonObject test();

    Context c_;
};

} // namespace tarvexio
