#include "model/window_model.h"

namespace tarvexio {

WindowModel::WindowModel(QObject* parent)
    : QObject(parent)
{}

template <typename T> void WindowModel::assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void WindowModel::setCaption(const QString& caption)
{
    assign(caption_, caption);
}

void WindowModel::setWindowVisible(bool visible)
{
    assign(windowVisible_, visible);
}

void WindowModel::setPage(MainPage page)
{
    assign(page_, page);
}

void WindowModel::setTestButtonVisible(bool visible)
{
    assign(testButtonVisible_, visible);
}

void WindowModel::setAutoStartBoxEnabled(bool enabled)
{
    assign(autoStartBoxEnabled_, enabled);
}

void WindowModel::setTrayIconShown(bool shown)
{
    assign(trayIconShown_, shown);
}

void WindowModel::setTrayBlinking(bool blinking)
{
    assign(trayBlinking_, blinking);
}

void WindowModel::setBusy(bool busy)
{
    assign(busy_, busy);
}

bool WindowModel::trayCommandEnabled(TrayCommand command) const
{
    return trayCommands_[static_cast<int>(command)];
}

void WindowModel::setTrayCommandEnabled(TrayCommand command, bool enabled)
{
    assign(trayCommands_[static_cast<int>(command)], enabled);
}

void WindowModel::appendPaneLine(const QString& line)
{
    messagePane_.append(line);
    while (messagePane_.size() > MaxPaneLines)
        messagePane_.removeFirst();
    emit paneLineAppended(line);
}

} // namespace tarvexio
