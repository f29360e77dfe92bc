#pragma once

namespace tarvexio {

class AgentSettings;

// tarvexioctl send-now: asks the agent that holds the exchange directory's lock (SIGUSR1) to
// run its check now; 1 with a message when none runs.
int SendNow(AgentSettings& settings);

} // namespace tarvexio
