#pragma once

namespace tarvexio {

class Clock;
class ErrorReport;
class ExportRun;
class ProgressDisplay;
class Scheduler;
class SessionOwner;
class SettingsKeeper;
class UploadStep;
class WindowModel;

// The "Eksport" button: every day of the manual range before today, for every shop, each day
// recorded as it is complete, then the upload step; the work timer waits meanwhile.
class ManualExport {
public:
    struct Context {
        WindowModel& model;
        SessionOwner& session;
        Scheduler& scheduler;
        ExportRun& exportRun;
        UploadStep& upload;
        Clock& clock;
        SettingsKeeper& settings;
        ErrorReport& errors;
    };

    explicit ManualExport(Context context);

    // The window that shows each shop's run (none when headless).
    void setProgressDisplay(ProgressDisplay* display) { progressDisplay_ = display; }

    // Only while the "Eksport" page is shown.
    void eksportClick();
    void run();
    bool running() const { return running_; }

private:
    void exportRange();

    Context c_;
    ProgressDisplay* progressDisplay_ = nullptr;
    bool running_ = false;
};

} // namespace tarvexio
