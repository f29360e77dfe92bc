#include "app/scheduler.h"

#include "model/session_owner.h"
#include "model/window_model.h"

namespace tarvexio {

Scheduler::Scheduler(WindowModel& model, SessionOwner& session,
                     std::function<void(const std::exception&)> showException)
    : model_(model)
    , session_(session)
    , showException_(std::move(showException))
{
    timer_.setInterval(StartMarkerMs);
    connect(&timer_, &QTimer::timeout, this, &Scheduler::TimerTimer);
}

void Scheduler::TimerTimer()
{
    timer_.stop();
    if (!connectionPhase())
        return;
    // The day rule, the export and the upload of the day follow here.
    endTick();
}

bool Scheduler::connectionPhase()
{
    try {
        if (timer_.interval() == StartMarkerMs) {
            timer_.setInterval(numbers_.firstConnectionDelay);
            timer_.start();
            return false;
        }
        if (timer_.interval() == numbers_.firstConnectionDelay) {
            model_.setTrayCommandEnabled(TrayCommand::Przywroc, false);
            model_.setTrayCommandEnabled(TrayCommand::Zakoncz, false);
            timer_.setInterval(numbers_.checkPeriod);
            session_.ReopenSession();
            model_.setTrayCommandEnabled(TrayCommand::Przywroc, true);
            model_.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
        }
        if (session_.hasSession())
            session_.CloseSession();
    } catch (const std::exception& error) {
        showException_(error);
        if (session_.hasSession() && !session_.isConnected()) {
            timer_.start();
            return false;
        }
    }
    return true;
}

void Scheduler::endTick()
{
    model_.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    model_.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
    timer_.start();
}

} // namespace tarvexio
