#pragma once

#include <exception>

namespace tarvexio {

class Dialogs;
class EventLog;
class WindowModel;

// Where an operation's outermost handler reports an exception.
class ErrorReport {
public:
    virtual ~ErrorReport() = default;
    virtual void showException(const std::exception& error) = 0;
};

// With the window in use, the exception display's box; unattended nobody can answer one, so
// an alerting log line instead.
class ExceptionDisplay final : public ErrorReport {
public:
    ExceptionDisplay(const WindowModel& model, Dialogs& dialogs, EventLog& log);
    void showException(const std::exception& error) override;

private:
    const WindowModel& model_;
    Dialogs& dialogs_;
    EventLog& log_;
};

} // namespace tarvexio
