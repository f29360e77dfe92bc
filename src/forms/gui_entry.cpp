#include "forms/gui_entry.h"

#include "app/agent.h"
#include "app/process_entry.h"
#include "forms/gui_dialogs.h"
#include "forms/windowed_agent.h"
#include "platform/process_signals.h"

#include <QApplication>

namespace tarvexio {

int runWithWindows(const QStringList& arguments)
{
    // No display name is set: Qt would append it to every window's and box's title.
    // The agent lives on in the tray when its window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemPorts ports;
    GuiDialogs dialogs;
    if (!claimSingleInstance(ports.instance, dialogs))
        return 0;
    WindowedAgent program(arguments, ports, dialogs);
    // tarvexioctl reaches a windowed agent too; SIGTERM and SIGINT end it in order.
    ProcessSignals processSignals;
    if (!attachProcess(program.agent(), processSignals, dialogs))
        return 0;
    program.start();
    return QApplication::exec();
}

} // namespace tarvexio
