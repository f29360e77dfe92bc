#pragma once

#include <QString>

#include <optional>

namespace tarvexio {

// A folder as the agent keeps it: without one trailing separator ("/" here; "\" or "/" on
// Windows). A lone root separator is left as it is.
QString withoutTrailingSeparator(QString folder);

// This user's runtime folder, for its lock and the agent's control socket: $XDG_RUNTIME_DIR as
// it is, else Qt's. The service's (/run/tarvexio) is 0750 so that its group reaches the socket,
// which Qt's own reading refuses with a warning.
QString runtimeFolder();

// Where Windows keeps the phonebooks of all users ("Common AppData" of the shell folders, then
// Microsoft\Network\Connections\Pbk); none elsewhere or when the registry does not say.
std::optional<QString> commonPhonebookFolder();

} // namespace tarvexio
