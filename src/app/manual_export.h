#pragma once

#include <QDate>
#include <QList>

namespace tarvexio {

class Clock;
class DeliveryLedger;
class ErrorReport;
class ExportRun;
class ProgressDisplay;
class Scheduler;
class SessionOwner;
class SettingsKeeper;
class UploadStep;
class WindowModel;

// The "Eksport" button: every day of the manual range before today, for every shop, then the
// upload step; a complete day is recorded once its files have reached the server. The work
// timer waits meanwhile.
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
        DeliveryLedger& ledger;
    };

    explicit ManualExport(Context context);

    // The window that shows each shop's run (none when headless).
    void setProgressDisplay(ProgressDisplay* display) { progressDisplay_ = display; }

    // Only while the "Eksport" page is shown.
    void eksportClick();
    void run();
    bool running() const { return running_; }

private:
    // The days whose every shop got its file, in order, up to the first that did not.
    QList<QDate> exportRange();
    void recordDelivered(const QList<QDate>& days);

    Context c_;
    ProgressDisplay* progressDisplay_ = nullptr;
    bool running_ = false;
};

} // namespace tarvexio
