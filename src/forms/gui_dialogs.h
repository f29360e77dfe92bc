#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace tarvexio {

// Modal message boxes; the parent window, when set, owns them.
class GuiDialogs final : public Dialogs {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }

    MessageAnswer MsgBox(const MessageRequest& request) override;
    void ShowExceptionNow(const std::exception& error) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace tarvexio
