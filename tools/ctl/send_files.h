#pragma once

#include <QStringList>

namespace tarvexio {

class AgentSettings;

// tarvexioctl send FILE...: each file through the agent's FTP job (a temporary name, then the
// rename), one job a file, each result printed; a delivered file is recorded for the agent,
// which drops it from its upload list. 0 when all went, 1 when one did not, 2 for a file that
// is not there.
int sendFiles(AgentSettings& settings, const QStringList& files);

} // namespace tarvexio
