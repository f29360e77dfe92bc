#pragma once

namespace tarvexio {

class AgentSettings;

// tarvexioctl status: whether an agent runs, the last exported and the next due day, the files
// waiting and the request files, the attempts and the last alerting lines. 0 when all is well,
// 1 when an alert is active (attempt limit reached, a day overdue, a request file set aside).
int showStatus(AgentSettings& settings, bool json);

} // namespace tarvexio
