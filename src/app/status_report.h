#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

class Clock;
class EventLog;
class Scheduler;
class UploadStep;

// What the agent holds in memory, left for the operator's tool (tarvexioctl status) at the
// end of every tick.
class StatusReport {
public:
    struct Context {
        Clock& clock;
        const QStringList& uploadList;
        const Scheduler& scheduler;
        const EventLog& log;
        const UploadStep& upload;
        QString programFolder;
    };

    explicit StatusReport(Context context);

    void write() const;

private:
    Context c_;
};

} // namespace tarvexio
