#pragma once

#include "app/agent.h"
#include "platform/autostart_store.h"
#include "platform/privileges.h"
#include "support/ftp_job_doubles.h"
#include "support/recording_dialogs.h"

#include <QMap>

namespace tarvexio::test {

class AdminPrivileges final : public Privileges {
public:
    bool IsRunAsAdmin() const override { return true; }
};

class MemoryAutostartStore final : public AutostartStore {
public:
    bool exists(const QString& name) const override { return entries.contains(name); }
    void write(const QString& name, const AutostartCommand& command) override
    {
        entries[name] = runKeyCommand(command);
    }
    void Delete(const QString& name) override { entries.remove(name); }

    QMap<QString, QString> entries;
};

// Every port of an agent, as doubles; FTP is the real client, for a server of the test's.
struct AgentDoubles {
    FakeClock clock;
    RecordingDialogs dialogs;
    AdminPrivileges privileges;
    MemoryAutostartStore autostart;
    ScriptedDialUpBackend dialUp;

    AgentPorts ports()
    {
        return {
            clock, dialogs, privileges, autostart, [] { return std::make_unique<CurlFtpClient>(); },
            dialUp};
    }
};

// An agent on doubles with its program folder in home; with a database named, its first
// session has built and loaded the settings record.
struct TestAgent {
    explicit TestAgent(const QString& home, const QString& database = QString(),
                       const QStringList& arguments = {})
        : agent(arguments, doubles.ports(), {home, home + QStringLiteral("/tarvexio")},
                QStringLiteral("1.0.0.0"))
    {
        if (database.isEmpty())
            return;
        agent.session().setNames(database, QStringLiteral("kierownik"));
        agent.session().ReopenSession();
    }

    // The FTP page set for the test server on 127.0.0.1 and saved, so the record has it too.
    void sendTo(quint16 port)
    {
        SettingsControls& controls = agent.model().settings();
        controls.ed_hostFTP = QStringLiteral("127.0.0.1");
        controls.cb_DomyslnyPortFTP = false;
        controls.ed_portFTP = QString::number(port);
        controls.ed_userFTP = QStringLiteral("tarvexio");
        controls.ed_hasloFTP = QStringLiteral("haslo");
        controls.ed_folderFTP = QStringLiteral("./");
        agent.settings().saveConfiguration();
    }

    AgentDoubles doubles;
    Agent agent;
};

} // namespace tarvexio::test
