#include "app/agent_start.h"

#include "app/command_line.h"
#include "app/exchange_lock.h"
#include "app/scheduler.h"
#include "app/window_and_tray.h"
#include "db/session.h"
#include "export/data_file_name.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/dialogs.h"

#include <QDir>

namespace tarvexio {

namespace {

const QString UsageText =
    QStringLiteral("Składnia: Tarvexio Baza=NazwaBazy Ident=NazwaUzytkownika");

} // namespace

AgentStart::AgentStart(Context context, QObject* parent)
    : QObject(parent)
    , c_(std::move(context))
    , exchangeLock_(ExchangeLockName)
{
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(StartTimerMs);
    connect(&startTimer_, &QTimer::timeout, this, &AgentStart::runStartTimer);
}

void AgentStart::start()
{
    startTimer_.start();
}

void AgentStart::runStartTimer()
{
    try {
        StartTimerTimer();
    } catch (const EConvertError& error) {
        // The message names the argument; nothing else is to blame.
        startFailure_ = StartFailure::BadArgument;
        c_.dialogs.ShowExceptionNow(error);
    } catch (const std::exception& error) {
        // An error escaping the start timer reaches the application's own display.
        c_.dialogs.ShowExceptionNow(error);
    }
    emit startTimerDone();
}

void AgentStart::StartTimerTimer()
{
    startTimer_.stop();
    argumentsRead_ = true;
    c_.scheduler.pause();
    c_.log.prepare(c_.location.folder);
    c_.scheduler.numbers() = SchedulerNumbers::defaults();
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, false);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, true);

    WindowModel::Flags& flags = c_.model.flags();
    if (c_.arguments.size() < 2) {
        flags.tray = false;
        flags.unattended = false;
        return;
    }
    flags.tray = true;
    flags.unattended = true;
    const QString first = c_.arguments.front().trimmed();
    if (first == u"?" || first == u"/?") {
        c_.dialogs.MsgBox({UsageText, QStringLiteral("Informacja"), MessageButtons::Ok,
                           MessageIcon::Information});
        c_.window.terminate(QStringLiteral("pokazano składnię wywołania"));
        flags.closing = true;
        return;
    }
    if (!readCommandLine())
        return;

    if (!c_.session.databaseName().isEmpty() && !c_.session.userIdent().isEmpty()) {
        c_.model.setTrayIconShown(true);
        c_.model.setWindowVisible(false);
        c_.log.WriteLog(QStringLiteral("Uruchomiono program"));
        c_.model.setCaption(workingCaption(c_.session));
        c_.scheduler.resume();
    }
}

bool AgentStart::readCommandLine()
{
    WindowModel::Flags& flags = c_.model.flags();
    CommandLineValues values;
    values.databaseName = c_.session.databaseName();
    values.userIdent = c_.session.userIdent();
    values.test = flags.test;
    values.numbers = c_.scheduler.numbers();
    readArguments(c_.arguments, values, systemDecimalSeparator());
    // The desktop program passes over what it does not know, as described, and says so.
    for (const QString& argument : unknownArguments(c_.arguments)) {
        const QString nearest = nearestKey(argument);
        c_.log.WriteLog(
            QStringLiteral("UWAGA: pominięto nieznany argument wywołania %1%2")
                .arg(argument, nearest.isEmpty()
                                   ? QString()
                                   : QStringLiteral(" (czy chodziło o %1?)").arg(nearest)));
    }
    adjustPeriods(values.numbers);
    c_.session.setNames(values.databaseName, values.userIdent);
    c_.scheduler.numbers() = values.numbers;
    if (values.test && !flags.test) {
        flags.test = true;
        c_.model.setTestButtonVisible(true);
    }

    const struct {
        bool missing;
        const char* box;
        const char* line;
    } checks[] = {
        {values.databaseName.isEmpty(), "Nie podano nazwy bazy", "Nie podano nazwy bazy."},
        {values.userIdent.isEmpty(), "Nie podano nazwy użytkownika",
         "Nie podano nazwy użytkownika."},
    };
    for (const auto& check : checks) {
        if (!check.missing || flags.test)
            continue;
        c_.dialogs.MsgBox({QString::fromUtf8(check.box), c_.model.caption(), MessageButtons::Ok,
                           MessageIcon::None});
        c_.log.WriteLog(QString::fromUtf8(check.line), true);
        startFailure_ = StartFailure::NoNames;
        c_.window.terminate(QStringLiteral("brak nazwy bazy lub użytkownika"));
        flags.closing = true;
        return false;
    }
    return true;
}

QString AgentStart::attemptedDatabaseName() const
{
    const TQMXBazaDanych* session = c_.session.session();
    return session ? session->getNazwaBazy() : c_.session.databaseName();
}

void AgentStart::connectionRefused()
{
    if (!c_.session.configurationLoaded())
        startFailure_ = attemptedDatabaseName().isEmpty() ? StartFailure::NoNames
                                                          : StartFailure::DatabaseRefused;
    c_.model.flags().closing = true;
    c_.window.Close(QStringLiteral("odmowa połączenia z bazą"));
}

// The runtime folder's lock cannot see an agent of another session or of the service; this one
// can.
void AgentStart::claimExchangeDirectory()
{
    const QString directory = exchangeDirectory(c_.model.settings().EdKatalogWymiany);
    DirectoryLock::Result claim = exchangeLock_.hold(directory);
    // tarvexioctl works on the stores in an agent's stead for the length of one command.
    if (claim == DirectoryLock::Result::HeldByOther &&
        exchangeLock_.holderApplication() == ToolLockHolder) {
        c_.log.WriteLog(QStringLiteral("Katalog wymiany %1 zajmuje tarvexioctl (proces %2): agent "
                                       "czeka na jego koniec")
                            .arg(QDir::toNativeSeparators(directory))
                            .arg(exchangeLock_.holderProcess()));
        claim = exchangeLock_.holdWithin(directory, ToolWaitMs);
    }
    if (claim != DirectoryLock::Result::HeldByOther)
        return;
    const QString refusal = QStringLiteral("Aplikacja jest już uruchomiona");
    c_.log.WriteLog(refusal + QStringLiteral(" dla katalogu wymiany ") +
                        QDir::toNativeSeparators(c_.model.settings().EdKatalogWymiany),
                    true);
    if (!c_.model.flags().unattended)
        c_.dialogs.MsgBox({refusal, QStringLiteral("Tarvexio")});
    c_.window.terminate(QStringLiteral("inny agent pracuje na tym katalogu wymiany"));
}

} // namespace tarvexio
