#include "app/status_report.h"

#include "app/agent_status.h"
#include "app/scheduler.h"
#include "app/upload_step.h"
#include "model/event_log.h"
#include "platform/clock.h"

namespace tarvexio {

StatusReport::StatusReport(Context context)
    : c_(std::move(context))
{}

void StatusReport::write() const
{
    writeAgentStatus(agentStatusPath(c_.programFolder),
                     {c_.clock.now(), c_.uploadList, c_.scheduler.failedAttempts(),
                      c_.scheduler.numbers().attemptLimit, c_.scheduler.attemptLimitReached(),
                      c_.scheduler.numbers().checkPeriod, c_.log.recentAlerts(),
                      c_.upload.requestsLastLooked()});
}

} // namespace tarvexio
