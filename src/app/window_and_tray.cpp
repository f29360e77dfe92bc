#include "app/window_and_tray.h"

#include "app/command_line.h"
#include "app/error_report.h"
#include "app/scheduler.h"
#include "app/upload_step.h"
#include "db/database_name.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/dialogs.h"
#include "platform/privileges.h"

namespace tarvexio {

WindowAndTray::WindowAndTray(Context context, QObject* parent)
    : QObject(parent)
    , c_(std::move(context))
{}

QString workingCaption(const SessionOwner& session)
{
    return QStringLiteral("Tarvexio SFTP (%1)").arg(redactedDatabaseName(session.databaseName()));
}

void WindowAndTray::showWindow()
{
    c_.model.setWindowVisible(true);
    FormShow();
}

void WindowAndTray::showMessages()
{
    showWindow();
    emit c_.model.raiseRequested();
}

void WindowAndTray::FormShow()
{
    WindowModel::Flags& flags = c_.model.flags();
    c_.model.setAutoStartBoxEnabled(c_.privileges.IsRunAsAdmin());
    if (flags.tray || flags.firstShow || c_.arguments.size() > 1) {
        flags.firstShow = true;
        return;
    }
    try {
        if (c_.arguments.size() == 1 && isTestArgument(c_.arguments.front().trimmed())) {
            flags.test = true;
            c_.model.setTestButtonVisible(true);
        }
        c_.model.setTrayIconShown(true);
        // The closing flag stands while the session opens: a refused connection closes the
        // window for good, and the log keeps why.
        flags.closing = true;
        try {
            c_.session.OpenSession();
        } catch (const std::exception& error) {
            c_.log.WriteLog(QStringLiteral("Błąd: %1").arg(exceptionText(error)), true);
        }
        if (!c_.session.isConnected())
            Close(QStringLiteral("odmowa połączenia z bazą"));
        flags.closing = false;
        c_.model.setCaption(workingCaption(c_.session));
        c_.model.setPage(MainPage::Eksport);
    } catch (const std::exception& error) {
        flags.closing = true;
        c_.errors.showException(error);
    }
    flags.firstShow = true;
    if (!c_.session.isConnected()) {
        flags.closing = true;
        Close(QStringLiteral("odmowa połączenia z bazą"));
    }
    if (c_.model.windowVisible())
        emit c_.model.raiseRequested();
}

bool WindowAndTray::FormCloseQuery()
{
    WindowModel::Flags& flags = c_.model.flags();
    if (flags.closing)
        c_.scheduler.pause();
    if (flags.tray) {
        c_.scheduler.pause();
        return true;
    }
    flags.tray = true;
    flags.unattended = true;
    c_.session.CloseSession();
    c_.model.setWindowVisible(false);
    if (!c_.scheduler.isRunning())
        c_.scheduler.resume();
    enableTrayCommands();
    return false;
}

void WindowAndTray::enableTrayCommands()
{
    c_.model.setTrayCommandEnabled(TrayCommand::Komunikaty, c_.model.messagePane().size() > 1);
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
}

void WindowAndTray::Close(const QString& why)
{
    if (FormCloseQuery()) {
        c_.model.setWindowVisible(false);
        terminate(why);
    }
}

void WindowAndTray::terminate(const QString& why, int exitCode)
{
    if (terminating_)
        return;
    terminating_ = true;
    try {
        c_.log.WriteLog(QStringLiteral("Koniec pracy programu: ") + why);
    } catch (const std::exception&) {
        // A log that cannot be written has been reported; the program ends all the same.
    }
    c_.scheduler.stop();
    c_.model.setTrayIconShown(false);
    emit terminateRequested(exitCode);
}

void WindowAndTray::KomunikatyClick()
{
    c_.model.setTrayCommandEnabled(TrayCommand::Komunikaty, false);
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
    c_.model.setTrayBlinking(false);
    c_.model.setPage(MainPage::Komunikaty);
    c_.model.flags().tray = false;
    showWindow();
}

void WindowAndTray::PrzywrocClick()
{
    c_.model.flags().tray = false;
    c_.scheduler.pause();
    enableTrayCommands();
    c_.model.setPage(MainPage::Eksport);
    showWindow();
    emit c_.model.raiseRequested();
    c_.upload.showWaitingFileNotice(c_.scheduler.failedAttempts());
}

void WindowAndTray::ZakocznczClick()
{
    const MessageAnswer answer = c_.dialogs.MsgBox(
        {QStringLiteral("Czy rzeczywiście zamknąć program?"), QStringLiteral("UWAGA"),
         MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No});
    if (answer != MessageAnswer::Yes)
        return;
    terminate(QStringLiteral("polecenie Zakończ"));
    c_.model.flags().closing = true;
}

} // namespace tarvexio
