#include "app/operator_requests.h"

#include "app/agent_start.h"
#include "app/control_protocol.h"
#include "app/error_report.h"
#include "app/manual_export.h"
#include "app/scheduler.h"
#include "app/setting_changes.h"
#include "app/settings_keeper.h"
#include "app/settings_view.h"
#include "app/status_report.h"
#include "app/upload_step.h"
#include "app/window_and_tray.h"
#include "config/settings_record.h"
#include "export/data_file_name.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "transport/connection_test.h"
#include "transport/ftp_job_setup.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>

namespace tarvexio {

OperatorRequests::OperatorRequests(Context context)
    : c_(context)
{}

bool OperatorRequests::mustWait(const QJsonObject& request) const
{
    if (controlRequestReadsOnly(request))
        return false;
    return !c_.start.argumentsRead() || c_.scheduler.ticking() || c_.manualExport.running();
}

QString OperatorRequests::readSettings()
{
    QString why = QStringLiteral("the database refused the connection");
    try {
        if (c_.session.makeRecordQuietly(&why))
            return {};
    } catch (const std::exception& error) {
        why = exceptionText(error);
    }
    return QStringLiteral("the agent has not read its settings yet: ") + why;
}

QJsonObject OperatorRequests::answer(const QJsonObject& request)
{
    const QString command = request.value(QStringLiteral("command")).toString();
    // Before its first connection the agent reads its settings for the question.
    const QString unread = command == u"send-now"      ? QString()
                           : !c_.start.argumentsRead() ? QStringLiteral("the agent is starting")
                                                       : readSettings();
    if (command == u"status")
        return controlAnswer({{QStringLiteral("status"), c_.status.snapshot(unread)}});
    if (!unread.isEmpty() && command != u"send-now")
        return controlRefusal(unread);
    if (command == u"show")
        return show();
    if (command == u"get")
        return get(request);
    if (command == u"set")
        return set(request);
    if (command == u"send-now")
        return sendNow();
    if (command == u"send")
        return send(request);
    if (command == u"test")
        return test();
    if (command == u"ledger")
        return ledgerAnswer(request, c_.ledger);
    return controlRefusal(QStringLiteral("unknown command '%1'").arg(command));
}

QJsonObject OperatorRequests::show() const
{
    return controlAnswer(settingsView(*c_.settings.record(), QStringLiteral("the running agent")));
}

QJsonObject OperatorRequests::get(const QJsonObject& request) const
{
    return getAnswer(request, show());
}

QJsonObject OperatorRequests::set(const QJsonObject& request)
{
    if (!c_.model.flags().unattended)
        return controlRefusal(QStringLiteral("the agent's window is in use: change the settings "
                                             "there, or close the window first"));
    const SettingChanges changes = checkSettingChanges(
        *c_.settings.record(), request.value(QStringLiteral("settings")).toArray(),
        request.value(QStringLiteral("passwords")).toArray(), c_.clock.now().date());
    if (!changes.errors.isEmpty())
        return controlRefusal(changes.errors.join(u'\n'));
    const QString where = c_.settings.applyChange(changes.lines);
    c_.log.WriteLog(QStringLiteral("Ustawienia zmienione przez operatora (tarvexioctl set): %1")
                        .arg(changes.keys.join(QStringLiteral(", "))));
    return controlAnswer({{QStringLiteral("saved"), where}});
}

QJsonObject OperatorRequests::sendNow()
{
    // Answered first: the tick that follows may take a while.
    QTimer::singleShot(0, &c_.scheduler, [this] { workNow(); });
    return controlAnswer({{QStringLiteral("started"), true}});
}

void OperatorRequests::workNow()
{
    // Paused (the window in use, a manual export): the request is noted, not run.
    if (c_.window.terminating() || !c_.scheduler.isRunning()) {
        c_.log.WriteLog(
            QStringLiteral("Prośba operatora o pracę teraz (tarvexioctl send-now) pominięta: "
                           "okno programu jest w użyciu albo program kończy pracę"));
        return;
    }
    c_.log.WriteLog(QStringLiteral("Praca teraz na żądanie operatora (tarvexioctl send-now)"));
    c_.scheduler.TimerTimer();
}

void OperatorRequests::reloadSettings()
{
    // Work under way keeps the settings it started with; the next tick reads them first.
    if (c_.scheduler.ticking() || c_.manualExport.running()) {
        c_.log.WriteLog(QStringLiteral(
            "Otrzymano SIGHUP: ustawienia zostaną wczytane na początku następnego sprawdzenia"));
        return;
    }
    try {
        c_.log.WriteLog(c_.settings.reloadChangedOutside()
                            ? QStringLiteral("Otrzymano SIGHUP: ustawienia wczytane ponownie, "
                                             "zmienione poza programem")
                            : QStringLiteral("Otrzymano SIGHUP: ustawienia wczytane ponownie, "
                                             "bez zmian"));
    } catch (const std::exception& error) {
        c_.errors.showException(error);
    }
}

QJsonObject OperatorRequests::send(const QJsonObject& request)
{
    QStringList files;
    for (const QJsonValue file : request.value(QStringLiteral("files")).toArray())
        files << QFileInfo(file.toString()).fileName();
    c_.log.WriteLog(QStringLiteral("Operator zlecił wysłanie plików (tarvexioctl send): ") +
                    files.join(QStringLiteral(", ")));
    return sendAnswer(
        request, c_.model.settings().EdKatalogWymiany,
        [this](const QString& path, QString* why) { return c_.upload.sendByHand(path, why); });
}

QJsonObject OperatorRequests::test()
{
    return connectionTestAnswer(runConnectionTestReport(
        ftpJobParameters(*c_.settings.record(), c_.model.settings().EdKatalogWymiany),
        c_.upload.ftpPorts()));
}

} // namespace tarvexio
