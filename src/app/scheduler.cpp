#include "app/scheduler.h"

#include "app/day_rule.h"
#include "app/delivery_ledger.h"
#include "app/error_report.h"
#include "app/record_source.h"
#include "app/settings_page.h"
#include "app/upload_step.h"
#include "config/settings_record.h"
#include "export/data_file_name.h"
#include "export/export_run.h"
#include "export/missing_data_requests.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/stop_request.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace tarvexio {

namespace {

QString dayText(const QDate& day)
{
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

// Every file still waiting, as many as a line holds well, then how many more.
QString waitingFileNames(const QStringList& files)
{
    constexpr qsizetype Named = 5;
    QStringList names;
    for (const QString& file : files.mid(0, Named))
        names << QFileInfo(file).fileName();
    QString text = names.join(QStringLiteral(", "));
    if (files.size() > Named)
        text += QStringLiteral(" i jeszcze %1").arg(files.size() - Named);
    return text;
}

} // namespace

Scheduler::Scheduler(Context context)
    : c_(context)
{
    timer_.setInterval(StartMarkerMs);
    connect(&timer_, &QTimer::timeout, this, &Scheduler::TimerTimer);
}

void Scheduler::resume()
{
    if (!stopped_)
        timer_.start();
}

void Scheduler::stop()
{
    stopped_ = true;
    timer_.stop();
}

void Scheduler::TimerTimer()
{
    now_ = c_.clock.now();
    timer_.stop();
    ticking_ = true;
    // Every way out enables the timer again; so does one where reporting an error failed.
    const auto keepTicking = qScopeGuard([this] {
        if (!timer_.isActive())
            resume();
        ticking_ = false;
        c_.host.tickEnded();
    });
    // The first connection may have found another agent at work on the same directory.
    if (!connectionPhase() || ending())
        return;
    try {
        c_.host.tickStarting();
        // Files the operator sent by hand, or delivered before a restart, complete their days.
        recordDeliveredDays();
        if (failedAttempts_ != 0 && dayDelivered()) {
            failedAttempts_ = 0;
            timer_.setInterval(numbers_.checkPeriod);
            finishDay();
        }
        if (failedAttempts_ != 0) {
            retryTick();
            return;
        }
        if (!chooseDay()) {
            c_.session.CloseSession();
            resume();
            return;
        }
        if (dataDate_ < now_.date() && !exportDay())
            return;
    } catch (const std::exception& error) {
        c_.session.CloseSession();
        c_.errors.showException(error);
        // A retry tick may have taken them away; the tray must not lose "Zakończ".
        setRestoreCommands(true);
        resume();
        return;
    }
    endTick();
}

bool Scheduler::connectionPhase()
{
    try {
        if (timer_.interval() == StartMarkerMs) {
            timer_.setInterval(numbers_.firstConnectionDelay);
            resume();
            return false;
        }
        if (timer_.interval() == numbers_.firstConnectionDelay) {
            setRestoreCommands(false);
            timer_.setInterval(numbers_.checkPeriod);
            c_.session.ReopenSession();
            setRestoreCommands(true);
        }
        c_.session.CloseSession();
    } catch (const std::exception& error) {
        c_.errors.showException(error);
        if (c_.session.hasSession() && !c_.session.isConnected()) {
            resume();
            return false;
        }
    }
    return true;
}

bool Scheduler::chooseDay()
{
    dataDate_ = QDate();
    requestMode_ = false;
    SettingsControls& controls = c_.model.settings();
    // A clock set back leaves no day due; the service's requests and what waits still go.
    const bool clockBehind = storedDayAfterToday();
    if (!clockBehind && !sensibleLastExportedDay(controls.DataOstatniegoEksportu, now_.date())) {
        c_.log.WriteLog(QStringLiteral("Zapisany ostatni wyeksportowany dzień (ParDataOstEksp=%1) "
                                       "jest poza zakresem; przyjęto, że żaden dzień nie został "
                                       "jeszcze wyeksportowany.")
                            .arg(dayNumber(controls.DataOstatniegoEksportu)),
                        true, LineMeaning::Warning);
        controls.DataOstatniegoEksportu = dayFromNumber(0);
        c_.model.settingsShown();
    }
    if (const std::optional<QDate> due =
            dueDay(controls.DataOstatniegoEksportu, now_, controls.CSGodzEdit, controls.CSMinEdit);
        due && !clockBehind) {
        dataDate_ = *due;
        return true;
    }
    const TKonfigEksportu* record = c_.record.record();
    const std::optional<QDate> requested =
        record ? c_.requests.findRequest(*record, exportSettingsShown(c_.model), now_.date())
               : std::nullopt;
    if (requested) {
        requestMode_ = true;
        dataDate_ = *requested;
        return true;
    }
    // Files made earlier that still wait (a manual export, a run before a restart) go now.
    dataDate_ = c_.ledger.oldestWaitingDay();
    return dataDate_.isValid();
}

bool Scheduler::storedDayAfterToday()
{
    const QDate stored = c_.model.settings().DataOstatniegoEksportu;
    if (!stored.isValid() || stored <= now_.date())
        return false;
    if (clockWarned_ != now_.date()) {
        clockWarned_ = now_.date();
        c_.log.WriteLog(QStringLiteral("Zapisany ostatni wyeksportowany dzień %1 jest późniejszy "
                                       "niż dzisiejszy: sprawdź zegar komputera. Żaden dzień nie "
                                       "jest eksportowany.")
                            .arg(dayText(stored)),
                        true);
    }
    return true;
}

void Scheduler::recordDeliveredDays()
{
    const TKonfigEksportu* record = c_.record.record();
    if (record == nullptr)
        return;
    const QDate stored = c_.model.settings().DataOstatniegoEksportu;
    c_.ledger.rebuildIfNew(exchangeDirectory(c_.model.settings().EdKatalogWymiany), stored);
    const QStringList codes = dailyShopCodes(*record);
    const QDate today = c_.clock.now().date();
    for (QDate day = stored.addDays(1);
         day.isValid() && day < today && c_.ledger.allDelivered(day, codes); day = day.addDays(1)) {
        c_.ledger.recorded(day);
        c_.host.recordExportedDay(day);
    }
}

bool Scheduler::dayLacksAFile() const
{
    const TKonfigEksportu* record = c_.record.record();
    if (record == nullptr)
        return false;
    const QStringList codes = dailyShopCodes(*record);
    return std::any_of(codes.begin(), codes.end(), [this](const QString& code) {
        return !c_.ledger.hasCurrentFile(dataDate_, code);
    });
}

bool Scheduler::dayDelivered() const
{
    if (!dataDate_.isValid())
        return false;
    // A request's day: every file its run made has reached the server.
    if (requestMode_)
        return dayExport_.complete() &&
               std::all_of(dayExport_.made.begin(), dayExport_.made.end(),
                           [this](const QString& path) { return c_.ledger.delivered(path); });
    const TKonfigEksportu* record = c_.record.record();
    return record != nullptr && c_.ledger.allDelivered(dataDate_, dailyShopCodes(*record));
}

bool Scheduler::makeDay()
{
    if (!c_.session.hasSession())
        c_.session.ReopenSession();
    // A refused connection has ended the program, or hidden the window: nothing to do.
    TKonfigEksportu* record = c_.record.record();
    if (!c_.session.isConnected() || record == nullptr || ending())
        return false;
    // A loop that fails (a database lost, a full disk) leaves nothing of an earlier day's
    // result behind, and is this attempt's failure with its cause.
    dayExport_ = DayExport();
    try {
        // A shop's delivered day is made again only when the service asks for it.
        dayExport_ = c_.exportRun.shopLoop(
            *record, exportSettingsShown(c_.model), dataDate_, now_.date(), {},
            requestMode_ ? ExportRun::MadeBefore::MadeAgain : ExportRun::MadeBefore::Kept);
    } catch (const std::exception& error) {
        c_.errors.showException(error);
        dayExport_.missing = exceptionText(error);
    }
    c_.session.CloseSession();
    if (!dayExport_.complete())
        c_.log.WriteLog(QStringLiteral("Eksport za dzień %1 jest niepełny: %2. Dzień nie został "
                                       "zapisany jako wyeksportowany.")
                            .arg(dayText(dataDate_), dayExport_.cause()),
                        true);
    return true;
}

bool Scheduler::exportDay()
{
    if (!makeDay())
        return true;
    if (c_.upload.SendWaitingFiles() && dayDelivered()) {
        failedAttempts_ = 0;
        finishDay();
        return true;
    }
    timer_.setInterval(numbers_.retryPeriod);
    failedAttempts_ = 1;
    // With an attempt limit of 1 or less, the first failure is the last attempt.
    if (failedAttempts_ < numbers_.attemptLimit)
        return true;
    lastAttempt();
    return false;
}

// A retry sends what waits, after making the files a shop of the day lacks.
void Scheduler::retryTick()
{
    if (failedAttempts_ >= numbers_.attemptLimit) {
        c_.session.CloseSession();
        resume();
        return;
    }
    setRestoreCommands(false);
    bool sent = c_.upload.SendWaitingFiles();
    // A shop whose file failed to be made, or vanished before it went, gets one now; a run that
    // fails is this attempt's failure, not a retry that never counts.
    try {
        // After a refused login this attempt logs in no more.
        if (!requestMode_ && dayLacksAFile() && makeDay() && !c_.upload.loginRefused())
            sent = c_.upload.SendWaitingFiles();
    } catch (const std::exception& error) {
        c_.session.CloseSession();
        c_.errors.showException(error);
    }
    if (sent && dayDelivered()) {
        finishDay();
        timer_.setInterval(numbers_.checkPeriod);
        failedAttempts_ = 0;
    } else {
        ++failedAttempts_;
    }
    if (failedAttempts_ == numbers_.attemptLimit) {
        lastAttempt();
        return;
    }
    setRestoreCommands(true);
    resume();
}

void Scheduler::finishDay()
{
    attemptLimitReached_ = false;
    if (requestMode_)
        c_.requests.removeHandledDay();
    else
        recordDeliveredDays();
}

bool Scheduler::ending() const
{
    return stopped_ || stopRequested();
}

// Nobody has looked for a while: the window comes up with the messages. The files stay in
// the upload list, and the day unrecorded, so the next tick exports it again. An agent that is
// ending says nothing and shows nothing: the stop cut the attempt short.
void Scheduler::lastAttempt()
{
    if (ending())
        return;
    c_.model.flags().tray = false;
    if (c_.ledger.waiting().isEmpty())
        c_.log.WriteLog(QStringLiteral("Ostatnia próba eksportu za dzień %1 nie powiodła się: %2. "
                                       "Zdiagnozuj przyczynę.")
                            .arg(dayText(dataDate_), dayExport_.cause()),
                        true);
    else
        c_.log.WriteLog(QStringLiteral("Ostatnia próba wysłania pliku %1 nie powiodła się. "
                                       "Zdiagnozuj przyczynę i wyślij plik \"ręcznie\"")
                            .arg(waitingFileNames(c_.ledger.waiting())),
                        true);
    failedAttempts_ = 0;
    attemptLimitReached_ = true;
    c_.model.setTrayCommandEnabled(TrayCommand::Komunikaty, c_.model.messagePane().size() > 1);
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, false);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
    c_.model.setPage(MainPage::Komunikaty);
    c_.host.showMessages();
    resume();
}

void Scheduler::setRestoreCommands(bool enabled)
{
    c_.model.setTrayCommandEnabled(TrayCommand::Przywroc, enabled);
    c_.model.setTrayCommandEnabled(TrayCommand::Zakoncz, enabled);
}

void Scheduler::endTick()
{
    setRestoreCommands(true);
    resume();
}

} // namespace tarvexio
