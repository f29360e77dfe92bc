#pragma once

#include <QString>

#include <optional>

namespace tarvexio {

class AgentSettings;

// The process of the agent that holds the exchange directory's lock, if one runs.
std::optional<qint64> runningAgent(const QString& exchangeDirectory);

// tarvexioctl send-now: asks that agent (SIGUSR1) to run its check now; 1 with a message when
// none runs.
int sendNow(AgentSettings& settings);

} // namespace tarvexio
