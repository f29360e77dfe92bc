#pragma once

#include "platform/dialogs.h"

#include <functional>

namespace tarvexio {

// With no display nobody can answer: each box goes to stderr and to the event log, and the
// default answer comes back at once.
class HeadlessDialogs final : public Dialogs {
public:
    // A box as a log line; alert for errors and exceptions.
    using LogSink = std::function<void(const QString& line, bool alert)>;

    // printed: whether the box also goes to stderr (not when the log's echo reaches the same
    // journal).
    void setLogSink(const LogSink& sink, bool printed = true)
    {
        logSink_ = sink;
        printed_ = printed;
    }

    MessageAnswer MsgBox(const MessageRequest& request) override;
    void ShowExceptionNow(const std::exception& error) override;

private:
    void report(const QString& line, bool alert);

    LogSink logSink_;
    bool printed_ = true;
};

} // namespace tarvexio
