#pragma once

#include <QStringList>

#include <functional>

namespace tarvexio {

class AgentSettings;

// tarvexioctl show: every setting of the record, passwords as set or unset, the last exported
// day also as a date. Returns the exit status.
int showSettings(AgentSettings& settings, bool json);

// tarvexioctl set KEY=VALUE ...: checked as the settings window checks them, all or nothing,
// then saved through the record in its save mode. A password comes from readPassword (standard
// input or a prompt), never from the arguments. Returns the exit status.
int setSettings(AgentSettings& settings, const QStringList& assignments,
                const std::function<QString(const QString& prompt)>& readPassword);

} // namespace tarvexio
