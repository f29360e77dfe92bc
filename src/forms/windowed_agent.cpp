#include "forms/windowed_agent.h"

#include "app/agent.h"
#include "app/guarded_application.h"
#include "app/process_entry.h"
#include "forms/gui_dialogs.h"

namespace tarvexio {

WindowedAgent::WindowedAgent(const QStringList& arguments, SystemPorts& ports, GuiDialogs& dialogs)
    : dialogs_(dialogs)
    , agent_(createProcessAgent(arguments, ports, dialogs))
    , window_(std::make_unique<Tfrm_main>(*agent_))
    , progress_(std::make_unique<TFmQMXProgress>(window_.get()))
    , transmission_(std::make_unique<FullProgressTransmission>(dialogs, agent_->ftpPorts()))
    , settingsWindows_(std::make_unique<GuiSettingsWindows>(dialogs, window_.get()))
{
    dialogs.setParentWindow(window_.get());
    agent_->manualExport().setProgressDisplay(progress_.get());
    agent_->upload().setTransmission(transmission_.get());
    agent_->settingsPage().setWindows(settingsWindows_.get());
    setEventErrorReport(
        [this](const std::exception& error) { agent_->errors().showException(error); });
}

WindowedAgent::~WindowedAgent()
{
    setEventErrorReport({});
    dialogs_.setParentWindow(nullptr);
}

void WindowedAgent::start()
{
    agent_->window().showWindow();
    agent_->startUp().start();
}

} // namespace tarvexio
