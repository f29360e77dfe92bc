#pragma once

#include "app/agent.h"
#include "platform/autostart_store.h"
#include "platform/privileges.h"
#include "support/fake_clock.h"
#include "support/recording_dialogs.h"

#include <QMap>

namespace tarvexio::test {

class SettablePrivileges final : public Privileges {
public:
    bool admin = true;
    bool IsRunAsAdmin() const override { return admin; }
};

class MemoryAutostartStore final : public AutostartStore {
public:
    bool Exists(const QString& name) const override { return entries.contains(name); }
    void Write(const QString& name, const QString& command) override { entries[name] = command; }
    void Delete(const QString& name) override { entries.remove(name); }

    QMap<QString, QString> entries;
};

// Every port of an agent, as doubles.
struct AgentDoubles {
    FakeClock clock;
    RecordingDialogs dialogs;
    SettablePrivileges privileges;
    MemoryAutostartStore autostart;

    AgentPorts ports() { return {clock, dialogs, privileges, autostart}; }
};

} // namespace tarvexio::test
