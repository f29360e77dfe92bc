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

QString WorkingCaption(const SessionOwner& session)
{
    return QStringLiteral("Tarvexio SFTP (%1)").arg(RedactedDatabaseName(session.databaseName()));
}

void WindowAndTray::ShowWindow()
{
    c_.model.setWindowVisible(true);
    FormShow();
}

void WindowAndTray::showMessages()
{
    ShowWindow();
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
        if (c_.arguments.size() == 1 && IsTestArgument(c_.arguments.front().trimmed())) {
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
            c_.log.WriteLog(QStringLiteral("Błąd: %1").arg(ExceptionText(error)), true);
        }
        if (!c_.session.isConnected())
            Close();
        flags.closing = false;
        c_.model.setCaption(WorkingCaption(c_.session));
        c_.model.setPage(MainPage::Eksport);
    } catch (const std::exception& error) {
        flags.closing = true;
        c_.errors.ShowException(error);
    }
    flags.firstShow = true;
    if (!c_.session.isConnected()) {
        flags.closing = true;
        Close();
    }
    if (c_.model.windowVisible())
        emit c_.model.raiseRequested();
}

bool WindowAndTray::FormCloseQuery()
{
    WindowModel::Flags& flags = c_.model.flags();
    if (flags.closing)
        c_.scheduler.Pause();
    if (flags.tray) {
        c_.scheduler.Pause();
        return true;
    }
    flags.tray = true;
    flags.unattended = true;
    c_.session.CloseSession();
    c_.model.setWindowVisible(false);
    if (!c_.scheduler.isRunning())
        c_.scheduler.Resume();
    enableTrayCommands();
    return false;
}

void WindowAndTray::enableTrayCommands()
{
    c_.model.setTrayCommandEnabled(TrayCommand::Komunikaty, c_.model.messagePane().size() > 1);
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
}

void WindowAndTray::Close()
{
    if (FormCloseQuery()) {
        c_.model.setWindowVisible(false);
        Terminate();
    }
}

void WindowAndTray::Terminate(int exitCode)
{
    if (terminating_)
        return;
    terminating_ = true;
    c_.scheduler.Stop();
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
    ShowWindow();
}

void WindowAndTray::PrzywrocClick()
{
    c_.model.flags().tray = false;
    c_.scheduler.Pause();
    enableTrayCommands();
    c_.model.setPage(MainPage::Eksport);
    ShowWindow();
    emit c_.model.raiseRequested();
    c_.upload.ShowWaitingFileNotice(c_.scheduler.failedAttempts());
}

void WindowAndTray::ZakocznczClick()
{
    const MessageAnswer answer = c_.dialogs.MsgBox(
        {QStringLiteral("Czy rzeczywiście zamknąć program?"), QStringLiteral("UWAGA"),
         MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No});
    if (answer != MessageAnswer::Yes)
        return;
    Terminate();
    c_.model.flags().closing = true;
}

} // namespace tarvexio
