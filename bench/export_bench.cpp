// The export of one day for every shop of a generated chain, next to the floor of this design:
// the same SQL statements merely executed and their rows walked. Prints both and their ratio,
// then the per-shop time for chains of growing goods tables.
//
//   bench_export [shops goods]        default: 20 shops x 20000 goods, then 5000/20000/80000
#include "config/konfig_eksportu.h"
#include "db/session.h"
#include "demo_generator.h"
#include "export/export_run.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/upload_queue.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/headless_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>

using namespace tarvexio;

namespace {

const QDate LastDay(2026, 11, 30);

struct Timings {
    double exportSeconds = 0;
    double floorSeconds = 0;
    int shops = 0;
};

QString Chain(const QTemporaryDir& folder, int shops, int goods)
{
    QString path = folder.filePath(QStringLiteral("chain-%1-%2.db").arg(shops).arg(goods));
    demo::DemoOptions options;
    options.shops = shops;
    options.goods = goods;
    options.days = 2;
    options.lastDay = LastDay;
    options.seed = 5;
    demo::CreateDemoDatabase(path, options, [](const QString&) {});
    return path;
}

Timings Measure(const QString& database, const QString& exchange, int repeats)
{
    SystemClock clock(false); // the log's pause after each line is left out
    HeadlessDialogs dialogs;
    WindowModel model;
    model.flags().unattended = true;
    EventLog log(model, clock);
    std::unique_ptr<TKonfigEksportu> record;
    SessionOwner session(model, log, QStringLiteral("1.0.0.0"),
                         {[] {},
                          [](const std::exception& e) { std::fprintf(stderr, "%s\n", e.what()); },
                          [&](TDmQMXWDWykazy& catalogue, bool) {
                              record = std::make_unique<TKonfigEksportu>(catalogue, exchange);
                          }});
    session.setNames(database, QStringLiteral("bench"));
    session.ReopenSession();
    model.settings().EdKatalogWymiany = exchange;
    model.settings().consent.fill(true);
    for (int position = 0; position < record->ShopCount(); ++position)
        record->SetKodKVR(position, QStringLiteral("S%1").arg(record->ShopListA()[position].id));
    UploadQueue queue;
    ExportRun run({model, queue, log, dialogs, clock, session, session.version()});

    Timings best;
    best.shops = record->ShopCount();
    QStringList statements;
    for (int i = 0; i < repeats; ++i) {
        statements.clear();
        session.session()->setStatementObserver([&](const QString& s) { statements << s; });
        QElapsedTimer timer;
        timer.start();
        run.ShopLoop(*record, LastDay, LastDay.addDays(1));
        const double exportSeconds = double(timer.nsecsElapsed()) / 1e9;
        session.session()->setStatementObserver({});

        // The floor: every statement the export ran, executed and walked, each column read.
        timer.restart();
        for (const QString& statement : std::as_const(statements)) {
            QSqlQuery query(session.session()->database());
            query.setForwardOnly(true);
            query.exec(statement);
            const int columns = query.record().count();
            while (query.next()) {
                for (int c = 0; c < columns; ++c)
                    (void)query.value(c);
            }
        }
        const double floorSeconds = double(timer.nsecsElapsed()) / 1e9;
        if (i == 0 || exportSeconds < best.exportSeconds)
            best.exportSeconds = exportSeconds;
        if (i == 0 || floorSeconds < best.floorSeconds)
            best.floorSeconds = floorSeconds;
        for (const QString& file : QDir(exchange).entryList(QDir::Files))
            QFile::remove(QDir(exchange).filePath(file));
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int shops = args.size() > 2 ? args[1].toInt() : 20;
    const int goods = args.size() > 2 ? args[2].toInt() : 20000;

    QTemporaryDir folder;
    const QString exchange = folder.filePath(QStringLiteral("out"));
    QDir().mkpath(exchange);

    const Timings main = Measure(Chain(folder, shops, goods), exchange, 3);
    std::printf("export of one day, %d shops x %d goods: %.2f s\n", shops, goods,
                main.exportSeconds);
    std::printf("same statements executed and walked:   %.2f s\n", main.floorSeconds);
    std::printf("ratio: %.2f\n", main.exportSeconds / main.floorSeconds);
    if (args.size() > 2)
        return 0;

    std::printf("\nper-shop time by goods (4 shops):\n");
    for (const int size : {5000, 20000, 80000}) {
        const Timings t = Measure(Chain(folder, 4, size), exchange, 2);
        std::printf("  %6d goods: export %.3f s/shop, floor %.3f s/shop, ratio %.2f\n", size,
                    t.exportSeconds / t.shops, t.floorSeconds / t.shops,
                    t.exportSeconds / t.floorSeconds);
    }
    return 0;
}
