#include "forms/gui_entry.h"

#include "app/agent.h"
#include "app/guarded_application.h"
#include "app/process_entry.h"
#include "forms/gui_dialogs.h"
#include "forms/gui_settings_windows.h"
#include "forms/tfm_full_progress.h"
#include "forms/tfm_qmx_progress.h"
#include "forms/tfrm_main.h"

#include <QApplication>
#include <QScopeGuard>

namespace tarvexio {

int RunWithWindows(const QStringList& arguments)
{
    // No display name: Qt would append it to every window's and box's title.
    // The agent lives on in the tray when its window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemPorts ports;
    GuiDialogs dialogs;
    if (!ClaimSingleInstance(ports.instance, dialogs))
        return 0;

    const std::unique_ptr<Agent> agent = CreateProcessAgent(arguments, ports, dialogs);
    Tfrm_main window(*agent);
    dialogs.setParentWindow(&window);
    TFmQMXProgress progress(&window);
    agent->setProgressDisplay(&progress);
    FullProgressTransmission transmission(dialogs, agent->ftpPorts());
    agent->setTransmission(&transmission);
    GuiSettingsWindows settingsWindows(dialogs, &window);
    agent->settingsPage().setWindows(&settingsWindows);
    SetEventErrorReport([&agent](const std::exception& error) { agent->ShowException(error); });
    const auto unset = qScopeGuard([] { SetEventErrorReport({}); });
    agent->ShowWindow();
    agent->start();
    return QApplication::exec();
}

} // namespace tarvexio
