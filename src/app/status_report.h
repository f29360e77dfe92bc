#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>

namespace tarvexio {

class Clock;
class DeliveryLedger;
class EventLog;
class Scheduler;
class UploadStep;
class WindowModel;

// What the running agent tells an operator who asks (tarvexioctl status): its own state, read
// from the parts that hold it.
class StatusReport {
public:
    struct Context {
        Clock& clock;
        const WindowModel& model;
        const DeliveryLedger& ledger;
        const Scheduler& scheduler;
        const EventLog& log;
        const UploadStep& upload;
    };

    explicit StatusReport(Context context);

    // unread: why the settings are not read yet, if they are not.
    QJsonObject snapshot(const QString& unread) const;

private:
    Context c_;
    QDateTime started_; // the agent's start
};

} // namespace tarvexio
