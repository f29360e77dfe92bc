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
    // tarvexioctl send-now reaches a windowed agent too; SIGTERM and SIGINT end it in order.
    ProcessSignals processSignals;
    Agent& agent = program.agent();
    QObject::connect(&processSignals, &ProcessSignals::terminationRequested, &agent,
                     [&agent] { agent.window().terminate(0); });
    QObject::connect(&processSignals, &ProcessSignals::workRequested, &agent,
                     [&agent] { agent.operatorRequests().workNow(); });
    program.start();
    return QApplication::exec();
}

} // namespace tarvexio
