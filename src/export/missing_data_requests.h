#pragma once

#include <QDate>
#include <QSet>
#include <QString>

#include <optional>

namespace tarvexio {

class Dialogs;
class EventLog;
class TKonfigEksportu;
class WindowModel;

// Request files that the receiving service leaves for days it is missing, fetched into the
// exchange directory by every upload: "<shop code>_braki.kvr", one requested day per line
// ("yyyymmdd" and anything after it), handled from the top.
class MissingDataRequests {
public:
    MissingDataRequests(WindowModel& model, EventLog& log, Dialogs& dialogs);

    // An idle tick: the request files of the shop codes, in the order of the shop list; the
    // first whose top day is before today is started and its day returned. A file whose top
    // day has not yet passed is left for a later tick; an unreadable one is set aside.
    std::optional<QDate> FindRequest(const TKonfigEksportu& record, const QDate& today);

    // Once the day's files have been sent: drops the started file's first line, or the file.
    void RemoveHandledDay();

    const QString& requestFile() const { return requestFile_; }

private:
    // The top day of the file; none when the file cannot be read or holds no valid date.
    static std::optional<QDate> FirstDay(const QString& path, QString& firstLine);
    void setAside(const QString& path);
    void failed(const QString& path, bool withBox);

    WindowModel& model_;
    EventLog& log_;
    Dialogs& dialogs_;
    QString requestFile_;
    QSet<QString> reported_; // unusable files that could not be moved: reported once
};

} // namespace tarvexio
