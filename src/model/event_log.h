#pragma once

#include "platform/text_file.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace tarvexio {

class Clock;
class WindowModel;

// What a line means, for a service journal's priority; the tray's blink and the log file keep
// the alert value a line is written with. Told: read from the alert value and the text.
enum class LineMeaning { Told, Information, Warning, Failure };

// A line as a service journal takes it on stdout: sd-daemon's priority prefix by what the line
// means (err for a failure, warning for "UWAGA" and refused settings, info otherwise: a success
// is no error, whatever the tray does), on one line, UTF-8 whatever the locale.
QByteArray journalLine(const QString& text, LineMeaning meaning);

// The agent's one record of events: "Tarvexio.log" in the program folder and the message pane.
class EventLog {
public:
    static constexpr int PauseAfterLineMs = 500;

    EventLog(WindowModel& model, Clock& clock);
    // A log of a program without a window: the file (and the echo) only.
    explicit EventLog(Clock& clock);

    // Opens (creating) the log file in the folder. A file that cannot be opened leaves the
    // agent writing to the pane only; a diagnostic goes to stderr.
    void prepare(const QString& programFolder);
    bool hasFile() const { return file_ != nullptr; }

    // Raises EMFileError when the file cannot be written; the pane then misses the line too.
    void WriteLog(const QString& text, bool alert = false, LineMeaning meaning = LineMeaning::Told);

    // Headless runs mirror every line to stdout so that a service journal has them too: the
    // line as the file has it, its text alone, and what it means (never Told).
    using Echo = std::function<void(const QString& line, const QString& text, LineMeaning meaning)>;
    void setEcho(Echo echo) { echo_ = std::move(echo); }

    static QString formatLine(const QDateTime& moment, const QString& text);

    // The last alerting lines that are no mere information, oldest first, for the status.
    const QStringList& recentAlerts() const { return recentAlerts_; }

private:
    WindowModel* model_ = nullptr;
    Clock& clock_;
    std::unique_ptr<TMFile> file_;
    Echo echo_;
    QStringList recentAlerts_;
};

} // namespace tarvexio
