#pragma once

#include "app/agent_location.h"
#include "app/record_source.h"

#include <QDate>

#include <memory>

namespace tarvexio {

class AutostartEntry;
class Clock;
class ConfigurationStore;
class Dialogs;
class ErrorReport;
class EventLog;
class SessionOwner;
class SettingsPage;
class TKonfigEksportu;
class WindowModel;

// The settings record the agent works with (its session's) and the record's two stores: loaded
// from the store a start reads, shown in the window, saved on demand and when a day has gone,
// read again when it changed outside the agent.
class SettingsKeeper final : public RecordSource {
public:
    struct Context {
        WindowModel& model;
        SessionOwner& session;
        Dialogs& dialogs;
        Clock& clock;
        AutostartEntry& autostart;
        EventLog& log;
        SettingsPage& page;
        ErrorReport& errors;
        AgentLocation location;
    };

    explicit SettingsKeeper(Context context);
    ~SettingsKeeper() override;

    TKonfigEksportu* record() const override;
    ConfigurationStore* store() const { return store_.get(); }

    // A connected catalogue and its record: the first time the record is loaded from the store
    // a start reads.
    void catalogueReady(bool firstTime);
    // The picker, the record and the stores get the day.
    void recordExportedDay(const QDate& day);
    // An agent at work unattended reads a store changed outside it (a session of its own);
    // with the window in use the user's edits stand. True when something had changed.
    bool reloadChangedOutside();

    // Settings the operator set while the agent works: the record, the controls and the stores
    // in the save mode in force, from now on what the agent uses. Where they were saved.
    QString applyChange(const QStringList& lines);

    // "Zap. Konfig." and "Zapisz": saves in the chosen mode, with a session of its own when
    // none is open, errors shown.
    void saveConfiguration();
    // "Ustaw" unlocks the last exported day's picker; "Zapisz" stores the day shown.
    void BtnUstawDayeOstEkspClick();

private:
    Context c_;
    std::unique_ptr<ConfigurationStore> store_;
};

} // namespace tarvexio
