#pragma once

namespace tarvexio {

class AgentWindow;
class ErrorReport;
class EventLog;
class Scheduler;
class SessionOwner;
class SettingsKeeper;

// What the operator asks of the running agent from outside it (tarvexioctl).
class OperatorRequests {
public:
    struct Context {
        EventLog& log;
        SessionOwner& session;
        Scheduler& scheduler;
        SettingsKeeper& settings;
        AgentWindow& window;
        ErrorReport& errors;
    };

    explicit OperatorRequests(Context context);

    // The scheduler's tick now (tarvexioctl send-now): a waiting file is sent, a due day
    // exported, without waiting for the check period. Not while the window is in use or a
    // manual export runs, nor while the program ends.
    void workNow();

private:
    Context c_;
};

} // namespace tarvexio
