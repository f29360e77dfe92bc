#pragma once

#include "export/chain_goods.h"
#include "export/export_settings.h"
#include "export/made_files.h"
#include "export/run_context.h"
#include "model/event_log.h"
#include "platform/text_file.h"

#include <QDateTime>

#include <functional>
#include <memory>

namespace tarvexio {

class Clock;
class Dialogs;
class EventLog;
class ExportProgress;
class SessionOwner;
class TKonfigEksportu;

struct ExportEnvironment {
    MadeFiles& madeFiles; // complete files go here, to be delivered
    EventLog& log;
    Dialogs& dialogs;
    Clock& clock;
    SessionOwner& session;
    QString version;
};

// What one day's shop loop produced. A day counts as exported only when every shop that has
// a code got its file: a shop left out would otherwise never be sent.
struct DayExport {
    QStringList made;   // the files this run made
    int madeBefore = 0; // shops whose file for the day waits or was delivered already
    QString missing;    // why a shop with a code got no file (the first such cause of the day)

    bool complete() const { return made.size() + madeBefore > 0 && missing.isEmpty(); }
    // Why the day is not complete, for the log.
    QString cause() const;
};

// The codes of the shops that get a file each day (list A, those with a code).
QStringList dailyShopCodes(const TKonfigEksportu& record);

// Data files for every shop and a day: creating each file, collecting its sections in a fixed
// order, writing it, reporting the result, and queueing complete files for upload.
class ExportRun {
public:
    // How a shop's run is carried out: directly (errors pass on), or by a caller that shows
    // a progress window and deals with an error itself.
    using RunShop = std::function<void(const std::function<void(ExportProgress*)>& procedure)>;

    explicit ExportRun(ExportEnvironment environment);
    ~ExportRun();

    // Whether a shop whose file for the day waits or was delivered gets a new one: only when
    // the service asks for the day again.
    enum class MadeBefore { Kept, MadeAgain };

    // One run per shop of list A for the data date. Without runShop
    // the run procedure is called directly and an error ends the loop.
    DayExport shopLoop(const TKonfigEksportu& record, const ExportSettings& settings,
                       const QDate& dataDate, const QDate& today, const RunShop& runShop = {},
                       MadeBefore madeBefore = MadeBefore::Kept);

    // The statements that read the data; the described ones serve as a reference.
    void setStatements(ExportStatements statements) { statements_ = statements; }

private:
    struct Shop {
        qint32 id = 0;
        QString code;
        QString name;
    };

    // Empty when the file is open; else what went wrong, already reported.
    QString createFile(const Shop& shop, const QDate& dataDate);
    // A message that stops nobody: a box while someone works in the window, else an alert.
    void report(const QString& message);
    void runProcedure(const Shop& shop, const QDate& dataDate, const QDate& today,
                      ExportProgress* progress);
    void exportBody(const Shop& shop, const QDate& dataDate, const QDate& today,
                    ExportProgress* progress);
    void writeInfo(const RunContext& run, const Shop& shop);
    void writeLine(const QString& line);
    void writeFileLines(const QList<QByteArray>& lines);
    void reportResult(const char* format, const Shop& shop, const QDate& dataDate,
                      LineMeaning meaning = LineMeaning::Told);

    ExportEnvironment env_;
    ExportSettings settings_; // of the day being exported
    QString osName_;
    QDateTime generationStart_;
    ExportStatements statements_ = ExportStatements::SetBased;
    ChainGoods chain_;
    std::unique_ptr<TMFile> file_;
    QString currentFile_;
    bool written_ = false; // the last run wrote its file completely
};

} // namespace tarvexio
