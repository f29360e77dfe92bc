#pragma once

#include "platform/text_file.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace tarvexio {

class Clock;
class WindowModel;

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
    void WriteLog(const QString& text, bool alert = false);

    // Headless runs mirror every line to stdout so that a service journal has them too: the
    // line as the file has it, its text alone, and whether it alerts.
    using Echo = std::function<void(const QString& line, const QString& text, bool alert)>;
    void setEcho(Echo echo) { echo_ = std::move(echo); }

    static QString formatLine(const QDateTime& moment, const QString& text);

    // The last alerting lines, oldest first, for the agent's status.
    const QStringList& recentAlerts() const { return recentAlerts_; }

private:
    WindowModel* model_ = nullptr;
    Clock& clock_;
    std::unique_ptr<TMFile> file_;
    Echo echo_;
    QStringList recentAlerts_;
};

} // namespace tarvexio
