#include "forms/gui_entry.h"

#include "app/agent.h"
#include "app/process_entry.h"
#include "app/program_folder.h"
#include "app/version.h"
#include "forms/gui_dialogs.h"
#include "forms/tfrm_main.h"
#include "platform/autostart_store.h"
#include "platform/clock.h"
#include "platform/privileges.h"
#include "platform/single_instance.h"

#include <QApplication>

namespace tarvexio {

int RunWithWindows(const QStringList& arguments)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvexio"));
    // The agent lives on in the tray when its window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemClock clock;
    GuiDialogs dialogs;
    Privileges privileges;
    SingleInstance instance;
    if (!ClaimSingleInstance(instance, dialogs))
        return 0;

    const std::unique_ptr<AutostartStore> autostart = CreateSystemAutostartStore();
    Agent agent(arguments, {clock, dialogs, privileges, *autostart},
                {ProgramFolder(), QCoreApplication::applicationFilePath()},
                QString::fromLatin1(TARVEXIO_VERSION));
    Tfrm_main window(agent);
    dialogs.setParentWindow(&window);
    QObject::connect(
        &agent, &Agent::terminateRequested, qApp, [](int code) { QApplication::exit(code); },
        Qt::QueuedConnection);

    agent.ShowWindow();
    agent.start();
    return QApplication::exec();
}

} // namespace tarvexio
