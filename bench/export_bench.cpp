// The export of one day for every shop of a generated chain, against two floors: the
// statements of the description (one look-up per goods row) merely executed and their rows
// walked, and the same for the set-based statements the export runs. On SQLite, and on
// PostgreSQL over TCP when a server is given. Then the per-shop time for growing goods
// tables, and the peak memory of the run.
//
//   bench_export [--shops N] [--goods N] [--postgres URL] [--quick]
#include "config/settings_record.h"
#include "db/schema.h"
#include "db/session.h"
#include "demo_generator.h"
#include "export/export_run.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "platform/clock.h"
#include "platform/headless_dialogs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace tarvexio;

namespace {

const QDate LastDay(2026, 11, 30);

demo::DemoOptions Chain(int shops, int goods)
{
    demo::DemoOptions options;
    options.shops = shops;
    options.goods = goods;
    options.days = 2;
    options.lastDay = LastDay;
    options.seed = 5;
    return options;
}

QString SqliteChain(const QTemporaryDir& folder, int shops, int goods)
{
    QString path = folder.filePath(QStringLiteral("chain-%1-%2.db").arg(shops).arg(goods));
    demo::CreateDemoDatabase(path, Chain(shops, goods), [](const QString&) {});
    return path;
}

// The same chain in the PostgreSQL database of the URL, its schema made anew.
void PostgresChain(const QString& url, int shops, int goods)
{
    TQMXBazaDanych session(4, QStringLiteral("1.0.0.0"), 0);
    session.PolaczBezOkna(url, QStringLiteral("postgres"), true);
    session.ExecSQL(QStringLiteral("drop schema if exists public cascade"));
    session.ExecSQL(QStringLiteral("create schema public"));
    CreateSchema(session);
    QSqlDatabase db = session.database();
    demo::GenerateDemoData(db, Chain(shops, goods), [](const QString&) {});
    session.ExecSQL(QStringLiteral("analyze"));
}

struct Result {
    int shops = 0;
    double exportSeconds = 0; // set-based, the best of the repeats
    double oldFloor = 0;      // the described statements, executed and walked
    double newFloor = 0;      // the set-based statements, executed and walked
};

// The agent's export on one database, exporting every shop of the chain with a code.
class ExportBench {
public:
    ExportBench(const QString& database, const QString& exchange)
        : clock_(false) // the log's pause after each line is left out
        , log_(clock_)
        , session_(log_, QStringLiteral("1.0.0.0"),
                   {[] {}, [](const std::exception& e) { std::fprintf(stderr, "%s\n", e.what()); },
                    [this, exchange](TDmQMXWDWykazy& catalogue, bool) {
                        record_ = std::make_unique<TKonfigEksportu>(catalogue, exchange);
                    }})
        , run_({written_, log_, dialogs_, clock_, session_, session_.version()})
        , exchange_(exchange)
    {
        session_.setNames(database, QStringLiteral("bench"));
        session_.ReopenSession();
        settings_.directory = exchange;
        settings_.consent.fill(true);
        settings_.unattended = true;
        for (int position = 0; position < record_->ShopCount(); ++position)
            record_->SetKodKVR(position,
                               QStringLiteral("S%1").arg(record_->ShopListA()[position].id));
    }

    Result Measure(int repeats)
    {
        Result result;
        result.shops = record_->ShopCount();
        QStringList statements;
        exportDay(ExportStatements::Described, &statements);
        result.oldFloor = replay(statements);
        for (int i = 0; i < repeats; ++i) {
            const double seconds = exportDay(ExportStatements::SetBased, &statements);
            if (i == 0 || seconds < result.exportSeconds)
                result.exportSeconds = seconds;
        }
        result.newFloor = replay(statements);
        return result;
    }

private:
    double exportDay(ExportStatements statements, QStringList* ran)
    {
        ran->clear();
        run_.setStatements(statements);
        session_.session()->setStatementObserver([ran](const QString& s) { *ran << s; });
        QElapsedTimer timer;
        timer.start();
        run_.ShopLoop(*record_, settings_, LastDay, LastDay.addDays(1));
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        session_.session()->setStatementObserver({});
        for (const QString& file : QDir(exchange_).entryList(QDir::Files))
            QFile::remove(QDir(exchange_).filePath(file));
        return seconds;
    }

    // Every statement executed and walked, each column read: what no export can beat.
    double replay(const QStringList& statements)
    {
        QElapsedTimer timer;
        timer.start();
        for (const QString& statement : statements) {
            QSqlQuery query(session_.session()->database());
            query.setForwardOnly(true);
            query.exec(statement);
            const int columns = query.record().count();
            while (query.next()) {
                for (int c = 0; c < columns; ++c)
                    (void)query.value(c);
            }
        }
        return double(timer.nsecsElapsed()) / 1e9;
    }

    SystemClock clock_;
    HeadlessDialogs dialogs_;
    ExportSettings settings_;
    EventLog log_;
    std::unique_ptr<TKonfigEksportu> record_;
    SessionOwner session_;
    QStringList written_;
    ExportRun run_;
    QString exchange_;
};

void Print(const char* engine, int goods, const Result& r)
{
    std::printf("%s, %d shops x %d goods, one day:\n", engine, r.shops, goods);
    std::printf("  export (set-based statements):           %7.2f s\n", r.exportSeconds);
    std::printf("  described statements, executed, walked: %7.2f s\n", r.oldFloor);
    std::printf("  set-based statements, executed, walked: %7.2f s\n", r.newFloor);
    std::printf("  export / described floor: %.2f   export / set-based floor: %.2f\n\n",
                r.exportSeconds / r.oldFloor, r.exportSeconds / r.newFloor);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOptions({{QStringLiteral("shops"), QStringLiteral("Shops."), QStringLiteral("n"),
                        QStringLiteral("20")},
                       {QStringLiteral("goods"), QStringLiteral("Goods."), QStringLiteral("n"),
                        QStringLiteral("20000")},
                       {QStringLiteral("postgres"), QStringLiteral("A PostgreSQL server's URL."),
                        QStringLiteral("url")},
                       {QStringLiteral("quick"), QStringLiteral("No per-shop series.")}});
    parser.process(app);
    const int shops = parser.value(QStringLiteral("shops")).toInt();
    const int goods = parser.value(QStringLiteral("goods")).toInt();

    QTemporaryDir folder;
    const QString exchange = folder.filePath(QStringLiteral("out"));
    QDir().mkpath(exchange);

    Print("SQLite", goods, ExportBench(SqliteChain(folder, shops, goods), exchange).Measure(3));
    if (parser.isSet(QStringLiteral("postgres"))) {
        const QString url = parser.value(QStringLiteral("postgres"));
        PostgresChain(url, shops, goods);
        Print("PostgreSQL over TCP", goods, ExportBench(url, exchange).Measure(3));
    }
    if (!parser.isSet(QStringLiteral("quick"))) {
        std::printf("SQLite, per shop by goods (4 shops):\n");
        for (const int size : {5000, 20000, 80000}) {
            const Result r = ExportBench(SqliteChain(folder, 4, size), exchange).Measure(2);
            std::printf("  %6d goods: export %.3f s/shop, set-based floor %.3f s/shop\n", size,
                        r.exportSeconds / r.shops, r.newFloor / r.shops);
            std::fflush(stdout);
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\npeak memory (RSS) of the run: %.0f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
