#include "export/missing_data_requests.h"

#include "config/settings_record.h"
#include "export/data_file_name.h"
#include "model/event_log.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "platform/windows1250.h"
#include "transport/request_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tarvexio {

namespace {

const QByteArray RequestLineEnd("\r\n");
// A start line names the whole first line; a few dozen characters say which day it was.
constexpr qsizetype LoggedLineLength = 80;

// A part of the date that is not all digits counts as 0, which no valid date has.
int DatePart(const QByteArray& line, qsizetype from, qsizetype length)
{
    const QByteArray part = line.mid(from, length);
    if (part.size() != length ||
        !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return part.toInt();
}

// The lines that ask for something: a blank line (a last line end too many) asks for nothing.
QList<QByteArray> RequestLines(const QString& path)
{
    TMFile file;
    file.SetPath(path);
    file.Open();
    QList<QByteArray> lines;
    QByteArray line;
    while (file.ReadLine(line, RequestLineEnd)) {
        if (!line.trimmed().isEmpty())
            lines << line;
    }
    file.Close();
    return lines;
}

QString LoggedLine(const QByteArray& line)
{
    const QString text = FromWindows1250(line);
    return text.size() <= LoggedLineLength ? text : text.left(LoggedLineLength) + u'…';
}

// "<name>.bad", or the first of "<name>.2.bad", "<name>.3.bad", ... that is free: a file set
// aside earlier keeps its days.
QString SetAsidePath(const QString& path)
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

std::optional<QDate> MissingDataRequests::FindRequest(const TKonfigEksportu& record,
                                                      const ExportSettings& settings,
                                                      const QDate& today)
{
    settings_ = settings;
    const QString directory = ExchangeDirectory(settings.directory);
    QSet<QString> looked;
    for (const Shop& shop : record.ShopListA()) {
        const QString code = record.KodKVRForShop(shop.id);
        if (code.isEmpty() || looked.contains(code))
            continue;
        looked.insert(code);
        const QString path = directory + u'/' + code + RequestFileSuffix;
        if (!QFileInfo::exists(path) || reported_.contains(path))
            continue;
        QList<QByteArray> lines;
        try {
            lines = RequestLines(path);
        } catch (const EMFileError&) {
            setAside(path);
            continue;
        }
        if (lines.isEmpty()) {
            QFile::remove(path);
            continue;
        }
        const QByteArray& line = lines.front();
        const QDate day(DatePart(line, 0, 4), DatePart(line, 4, 2), DatePart(line, 6, 2));
        if (!day.isValid()) {
            setAside(path);
            continue;
        }
        // A day that has not ended yet stays on top until it has, without a line every tick.
        if (day >= today)
            continue;
        requestFile_ = path;
        startedLine_ = line;
        log_.WriteLog(
            QStringLiteral("Rozpoczęto generowanie eksportu za %1 na podstawie pliku braków")
                .arg(LoggedLine(line)),
            settings_.unattended);
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
    const QString aside = SetAsidePath(path);
    if (QFile::rename(path, aside)) {
        log_.WriteLog(QStringLiteral("Plik braków %1 odłożono jako %2")
                          .arg(QFileInfo(path).fileName(), QFileInfo(aside).fileName()),
                      true);
    } else {
        reported_.insert(path);
        log_.WriteLog(QStringLiteral("Pliku braków %1 nie można odłożyć; jest pomijany")
                          .arg(QDir::toNativeSeparators(path)),
                      true);
    }
}

void MissingDataRequests::RemoveHandledDay()
{
    const QString path = requestFile_;
    try {
        QList<QByteArray> lines = RequestLines(path);
        // Only the day that was sent goes; a line that is no longer there was handled already.
        if (!lines.removeOne(startedLine_))
            return;
        if (lines.isEmpty()) {
            if (!QFile::remove(path))
                throw EMFileError("remove");
            return;
        }
        TMFile copy;
        copy.SetPath(path + u'~');
        copy.SetReadOnly(false);
        copy.Open();
        copy.SetPointer(0);
        copy.SetEof();
        for (const QByteArray& line : std::as_const(lines))
            copy.WriteLine(line, RequestLineEnd);
        copy.Close();
        if (!QFile::remove(path) || !QFile::rename(path + u'~', path))
            throw EMFileError("rename");
        log_.WriteLog(QStringLiteral("Wysłano brakuące dane i usunięto plik %1")
                          .arg(QFileInfo(path).fileName()),
                      settings_.unattended);
    } catch (const EMFileError&) {
        failed(path, true);
        moveAside(path);
    }
}

} // namespace tarvexio
