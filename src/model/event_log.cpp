#include "model/event_log.h"

#include "model/logging.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/paths.h"

#include <QStringEncoder>

namespace tarvexio {

namespace {

const QString StartLine = QStringLiteral("Uruchomiono program");

QString withoutLineBreaks(QString text)
{
    text.remove(QStringLiteral("\r\n"));
    return text;
}

QByteArray systemEncoded(const QString& text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

} // namespace

QByteArray journalLine(const QString& text, LineMeaning meaning)
{
    const char* priority = meaning == LineMeaning::Failure   ? "<3>"
                           : meaning == LineMeaning::Warning ? "<4>"
                                                             : "<6>";
    // A line break would make the rest a journal entry of its own, at the default priority.
    return priority + QString(text).replace(u'\n', u' ').toUtf8();
}

EventLog::EventLog(WindowModel& model, Clock& clock)
    : model_(&model)
    , clock_(clock)
{}

EventLog::EventLog(Clock& clock)
    : clock_(clock)
{}

void EventLog::prepare(const QString& programFolder)
{
    QString folder = withoutTrailingSeparator(programFolder);
    if (folder == u"/")
        folder.clear(); // the root folder: "/Tarvexio.log"
    auto file = std::make_unique<TMFile>();
    file->SetPath(folder + QStringLiteral("/Tarvexio.log"));
    file->SetReadOnly(false);
    try {
        file->Open();
        file->SetPointer(file->GetSize());
        file->Close();
    } catch (const EMFileError& error) {
        qCWarning(lcModel).noquote()
            << "No log file, messages go to the pane only:" << error.what();
        return;
    }
    file_ = std::move(file);
}

QString EventLog::formatLine(const QDateTime& moment, const QString& text)
{
    const QDate day = moment.date();
    const QTime time = moment.time();
    return QString::asprintf("%02u-%02u-%02u|%02u:%02u:%02u|", unsigned(day.day()),
                             unsigned(day.month()), unsigned(day.year() % 1000),
                             unsigned(time.hour()), unsigned(time.minute()),
                             unsigned(time.second())) +
           text;
}

void EventLog::WriteLog(const QString& text, bool alert, LineMeaning meaning)
{
    const QString cleanText = withoutLineBreaks(text);
    const QString line = formatLine(clock_.now(), cleanText);
    // A box's caption "UWAGA" and the described warnings start so.
    if (meaning == LineMeaning::Told)
        meaning = alert ? LineMeaning::Failure
                  : cleanText.startsWith(QStringLiteral("uwaga"), Qt::CaseInsensitive)
                      ? LineMeaning::Warning
                      : LineMeaning::Information;
    // The journal keeps the line even when the file is what fails.
    if (echo_)
        echo_(line, cleanText, meaning);
    if (alert && meaning != LineMeaning::Information) {
        recentAlerts_ << line;
        if (recentAlerts_.size() > 10)
            recentAlerts_.removeFirst();
    }

    if (file_) {
        const QByteArray crlf("\r\n");
        file_->Open();
        try {
            file_->SetPointer(file_->GetSize());
            if (cleanText == StartLine && file_->GetSize() > 0)
                file_->WriteLine(QByteArray(), crlf);
            file_->WriteLine(systemEncoded(line), crlf);
        } catch (...) {
            file_->Close();
            throw;
        }
        file_->Close();
    }

    if (model_)
        model_->appendPaneLine(line);
    clock_.pause(PauseAfterLineMs);
    if (!model_)
        return;
    model_->setTrayCommandEnabled(TrayCommand::Komunikaty, model_->messagePane().size() > 1);
    if (alert)
        model_->setTrayBlinking(true);
}

} // namespace tarvexio
