#pragma once

#include "forms/export_progress_window.h"
#include "forms/gui_settings_windows.h"
#include "forms/main_window.h"
#include "forms/transmission_dialog.h"

#include <QStringList>

#include <memory>

namespace tarvexio {

class Agent;
class GuiDialogs;
struct SystemPorts;

// The agent of this process with every window it shows: the main window and its tray icon,
// the export's progress window, the transmission dialog, the settings pages' windows; boxes
// and event errors shown over the main window.
class WindowedAgent {
public:
    WindowedAgent(const QStringList& arguments, SystemPorts& ports, GuiDialogs& dialogs);
    ~WindowedAgent();

    Agent& agent() { return *agent_; }
    Tfrm_main& window() { return *window_; }

    // Shows the window (the show handler's session start) and arms the start timer.
    void start();

private:
    GuiDialogs& dialogs_;
    std::unique_ptr<Agent> agent_;
    std::unique_ptr<Tfrm_main> window_;
    std::unique_ptr<TFmQMXProgress> progress_;
    std::unique_ptr<FullProgressTransmission> transmission_;
    std::unique_ptr<GuiSettingsWindows> settingsWindows_;
};

} // namespace tarvexio
