#pragma once

#include <QString>

#include <exception>

namespace tarvexio {

enum class MessageIcon { None, Information, Exclamation, Question, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text;
    QString caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // What an unattended run answers, and the button that has the focus in a real box.
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// Every message box and exception display of the agent goes through this port.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer MsgBox(const MessageRequest& request) = 0;
    virtual void ShowExceptionNow(const std::exception& error) = 0;
};

// The text an exception shows to the user (our exceptions carry UTF-8).
QString exceptionText(const std::exception& error);

} // namespace tarvexio
