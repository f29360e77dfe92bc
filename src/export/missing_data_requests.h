#pragma once

#include "export/export_settings.h"

#include <QDate>
#include <QSet>
#include <QString>

#include <optional>

namespace tarvexio {

class Dialogs;
class EventLog;
class TKonfigEksportu;

// Request files that the receiving service leaves for days it is missing, fetched into the
// exchange directory by every upload: "<shop code>_braki.kvr", one requested day per line
// ("yyyymmdd" and anything after it), handled from the top.
class MissingDataRequests {
public:
    MissingDataRequests(EventLog& log, Dialogs& dialogs);

    // An idle tick: the request files of the shop codes, in the order of the shop list; the
    // first whose top day is before today is started and its day returned. A file whose top
    // day has not yet passed is left for a later tick; an unreadable one is set aside; one
    // with nothing but blank lines is removed.
    std::optional<QDate> findRequest(const TKonfigEksportu& record, const ExportSettings& settings,
                                     const QDate& today);

    // Once the day's files have been sent: drops the line that was started (wherever it now
    // stands, lines may have joined since), or the file once nothing else is left in it. A
    // file whose line cannot be dropped is set aside, so its day is not sent again and again.
    void removeHandledDay();

    const QString& requestFile() const { return requestFile_; }

private:
    // Reports the file as unusable and moves it aside.
    void setAside(const QString& path);
    void moveAside(const QString& path);
    void failed(const QString& path, bool withBox);

    EventLog& log_;
    Dialogs& dialogs_;
    ExportSettings settings_; // of the tick that looked
    QString requestFile_;
    QByteArray startedLine_;
    QSet<QString> reported_; // unusable files that could not be moved: skipped from then on
};

} // namespace tarvexio
