#include "forms/gui_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace tarvexio {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer GuiDialogs::MsgBox(const MessageRequest& request)
{
    // An empty title would get the application's name from Qt; a blank one stays blank.
    const QString title = request.caption.isEmpty() ? QStringLiteral(" ") : request.caption;
    QMessageBox box(boxIcon(request.icon), title, request.text, QMessageBox::NoButton, parent_);
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultAnswer == MessageAnswer::Yes ? QMessageBox::Yes
                                                                         : QMessageBox::No);
        // The program speaks Polish whatever translations the system has.
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Tak"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Nie"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

void GuiDialogs::ShowExceptionNow(const std::exception& error)
{
    QMessageBox::critical(parent_, QStringLiteral("Błąd"), exceptionText(error));
}

} // namespace tarvexio
