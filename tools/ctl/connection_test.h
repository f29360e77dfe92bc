#pragma once

namespace tarvexio {

class AgentSettings;

// tarvexioctl test: the settings window's connection test, through the same FTP job and
// dial-up step, each row printed as it comes; 0 on success, 1 with the cause.
int testConnection(AgentSettings& settings);

} // namespace tarvexio
