#pragma once

#include "command_request.h"

#include <QJsonObject>

namespace tarvexio {

// An answer to a command as tarvexioctl prints it (text, or JSON where --json asks), and the
// exit status it gives: 0 done and all well; 1 a failure, or an alert (status); 2 a refused
// value or argument, nothing changed.
int printAnswer(const Command& command, const QJsonObject& answer);
// Every key set and get take, with its kind and meaning: the tool's own, no agent asked.
int printKeys(bool json);

} // namespace tarvexio
