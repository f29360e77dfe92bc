#include "export/missing_data_requests.h"

#include "config/settings_record.h"
#include "export/data_file_name.h"
#include "model/event_log.h"
#include "platform/dialogs.h"
#include "platform/windows1250.h"
#include "transport/request_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tarvexio {

namespace {

// A start line names the whole first line; a few dozen characters say which day it was.
constexpr qsizetype LoggedLineLength = 80;

QString loggedLine(const QByteArray& line)
{
    const QString text = fromWindows1250(line);
    return text.size() <= LoggedLineLength ? text : text.left(LoggedLineLength) + u'…';
}

// "<name>.bad", or the first of "<name>.2.bad", "<name>.3.bad", ... that is free: a file set
// aside earlier keeps its days.
QString setAsidePath(const QString& path)
{
    QString aside = path + QStringLiteral(".bad");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.%2.bad").arg(path).arg(n);
    return aside;
}

} // namespace

MissingDataRequests::MissingDataRequests(EventLog& log, Dialogs& dialogs)
    : log_(log)
    , dialogs_(dialogs)
{}

std::optional<QDate> MissingDataRequests::findRequest(const TKonfigEksportu& record,
                                                      const ExportSettings& settings,
                                                      const QDate& today)
{
    settings_ = settings;
    const QString directory = exchangeDirectory(settings.directory);
    QSet<QString> looked;
    for (const Shop& shop : record.shopListA()) {
        const QString code = record.kodKvrForShop(shop.id);
        if (code.isEmpty() || looked.contains(code))
            continue;
        looked.insert(code);
        const QString path = requestFilePath(directory, code);
        if (!QFileInfo::exists(path) || reported_.contains(path))
            continue;
        QList<QByteArray> lines;
        try {
            lines = readRequestLines(path);
        } catch (const ERequestFile&) {
            setAside(path);
            continue;
        }
        if (lines.isEmpty()) {
            QFile::remove(path);
            continue;
        }
        // A day that has not ended yet keeps its place, without a line every tick, and the
        // days below it are served meanwhile.
        const auto ended = std::find_if(lines.cbegin(), lines.cend(), [&today](const auto& line) {
            const QDate day = requestedDay(line);
            return !day.isValid() || day < today;
        });
        if (ended == lines.cend())
            continue;
        const QDate day = requestedDay(*ended);
        if (!day.isValid()) {
            setAside(path);
            continue;
        }
        requestFile_ = path;
        startedLine_ = *ended;
        log_.WriteLog(
            QStringLiteral("Rozpoczęto generowanie eksportu za %1 na podstawie pliku braków")
                .arg(loggedLine(*ended)),
            settings_.unattended, LineMeaning::Information);
        return day;
    }
    return std::nullopt;
}

void MissingDataRequests::failed(const QString& path, bool withBox)
{
    const QString message = QStringLiteral("Błąd otwarcia pliku ") +
                            QDir::toNativeSeparators(path) +
                            QStringLiteral("\nByć może plik jest używany przez inną aplikację.");
    const bool unattended = settings_.unattended;
    if (withBox && !unattended)
        dialogs_.MsgBox({message, QStringLiteral("UWAGA")});
    log_.WriteLog(message, unattended);
}

// An unusable file would be read again at every idle tick; it moves aside, with its days,
// for someone to look at.
void MissingDataRequests::setAside(const QString& path)
{
    if (reported_.contains(path))
        return;
    failed(path, false);
    moveAside(path);
}

void MissingDataRequests::moveAside(const QString& path)
{
    const QString aside = setAsidePath(path);
    if (QFile::rename(path, aside)) {
        log_.WriteLog(QStringLiteral("Plik braków %1 odłożono jako %2")
                          .arg(QFileInfo(path).fileName(), QFileInfo(aside).fileName()),
                      true, LineMeaning::Warning);
    } else {
        reported_.insert(path);
        log_.WriteLog(QStringLiteral("Pliku braków %1 nie można odłożyć; jest pomijany")
                          .arg(QDir::toNativeSeparators(path)),
                      true);
    }
}

void MissingDataRequests::removeHandledDay()
{
    const QString path = requestFile_;
    try {
        // Only the day that was sent goes; a line that is no longer there was handled already.
        // The last line takes the file with it, and that says nothing.
        const std::optional<qsizetype> left = removeRequestLine(path, startedLine_);
        if (!left || *left == 0)
            return;
        log_.WriteLog(QStringLiteral("Wysłano brakuące dane i usunięto plik %1")
                          .arg(QFileInfo(path).fileName()),
                      settings_.unattended, LineMeaning::Information);
    } catch (const ERequestFile&) {
        failed(path, true);
        moveAside(path);
    }
}

} // namespace tarvexio
