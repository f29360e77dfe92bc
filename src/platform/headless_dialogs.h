#pragma once

#include "platform/dialogs.h"

#include <functional>

namespace tarvexio {

// With no display nobody can answer: each box goes to stderr and to the event log, and the
// default answer comes back at once.
class HeadlessDialogs final : public Dialogs {
public:
    using LogSink = std::function<void(const QString&)>;

    void setLogSink(const LogSink& sink) { logSink_ = sink; }

    MessageAnswer MsgBox(const MessageRequest& request) override;
    void ShowExceptionNow(const std::exception& error) override;

private:
    void report(const QString& line);

    LogSink logSink_;
};

} // namespace tarvexio
