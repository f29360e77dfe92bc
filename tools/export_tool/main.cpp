// tarvexio-export: the agent's export for operators, without window, scheduler or upload.
#include "app/version.h"
#include "config/konfig_eksportu.h"
#include "db/database_name.h"
#include "db/session.h"
#include "export/export_run.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/upload_queue.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/headless_dialogs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

using namespace tarvexio;

namespace {

struct Options {
    QString database;
    QString ident;
    QString directory;
    QDate from;
    QDate to;
    QDate today;
    ConsentBoxes consent{};
    QList<QPair<qint32, QString>> codes;
};

void Print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

QDate Day(const QCommandLineParser& parser, const QString& name, QStringList& errors)
{
    const QDate day = QDate::fromString(parser.value(name), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        errors
            << QStringLiteral("--%1: expected YYYY-MM-DD, got '%2'").arg(name, parser.value(name));
    return day;
}

// Fills options; returns the problems found (empty when the arguments are good).
QStringList Parse(const QCommandLineParser& parser, Options& options)
{
    QStringList errors;
    for (const char* required : {"db", "dir", "from", "to"}) {
        if (!parser.isSet(QString::fromLatin1(required)))
            errors << QStringLiteral("--%1 is required").arg(QString::fromLatin1(required));
    }
    if (!errors.isEmpty())
        return errors;
    options.database = parser.value(QStringLiteral("db"));
    options.ident = parser.value(QStringLiteral("ident"));
    // The data files name their folder (SCIEZKA_EXP): a full path says more than "./out".
    options.directory = QFileInfo(parser.value(QStringLiteral("dir"))).absoluteFilePath();
    if (!QFileInfo(options.directory).isDir())
        errors << QStringLiteral("--dir: no such directory '%1'").arg(options.directory);
    options.from = Day(parser, QStringLiteral("from"), errors);
    options.to = Day(parser, QStringLiteral("to"), errors);
    options.today = parser.isSet(QStringLiteral("today"))
                        ? Day(parser, QStringLiteral("today"), errors)
                        : QDate::currentDate();
    const QString flags = parser.value(QStringLiteral("flags"));
    if (flags.size() != 10 || flags.contains(QRegularExpression(QStringLiteral("[^01]"))))
        errors << QStringLiteral("--flags: expected ten characters 0 or 1, got '%1'").arg(flags);
    else
        for (int i = 0; i < 10; ++i)
            options.consent[DaneExpOrder[i]] = flags[i] == u'1';
    for (const QString& code : parser.values(QStringLiteral("code"))) {
        const qsizetype eq = code.indexOf(u'=');
        bool ok = false;
        const qint32 shop = code.left(eq).toInt(&ok);
        if (eq <= 0 || !ok)
            errors << QStringLiteral("--code: expected SHOPID=CODE, got '%1'").arg(code);
        else
            options.codes.append({shop, code.mid(eq + 1)});
    }
    return errors;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes the agent's data files for every shop and each day of a range (days before "
        "today only) into a directory, and prints the path of each file written."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("db"),
         QStringLiteral("Database: SQLite path, postgresql:// URL or odbc:..."),
         QStringLiteral("NAME")},
        {QStringLiteral("ident"),
         QStringLiteral("User identifier (database user when the name gives none)."),
         QStringLiteral("USER")},
        {QStringLiteral("dir"), QStringLiteral("Exchange directory to write the files into."),
         QStringLiteral("DIR")},
        {QStringLiteral("from"), QStringLiteral("First day."), QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("to"), QStringLiteral("Last day."), QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("flags"), QStringLiteral("The ten consent boxes in DANE_EXP order."),
         QStringLiteral("1111111111"), QStringLiteral("1111111111")},
        {QStringLiteral("code"), QStringLiteral("A shop's KVR code (repeatable)."),
         QStringLiteral("SHOPID=CODE")},
        {QStringLiteral("today"), QStringLiteral("The day taken as today (default: the real one)."),
         QStringLiteral("YYYY-MM-DD")},
    });
    parser.process(app);

    Options options;
    if (const QStringList errors = Parse(parser, options); !errors.isEmpty()) {
        for (const QString& error : errors)
            Print(stderr, error);
        Print(stderr, parser.helpText());
        return 2;
    }

    SystemClock clock(false);
    HeadlessDialogs dialogs;
    WindowModel model;
    model.flags().unattended = true;
    EventLog log(model, clock);
    log.setEcho([](const QString& line) { Print(stderr, line); });
    std::unique_ptr<TKonfigEksportu> record;
    SessionOwner session(
        model, log, QString::fromLatin1(TARVEXIO_VERSION),
        {[] {}, [](const std::exception& e) { Print(stderr, QString::fromUtf8(e.what())); },
         [&](TDmQMXWDWykazy& catalogue, bool) {
             record = std::make_unique<TKonfigEksportu>(catalogue, options.directory);
         }});
    session.setNames(options.database, options.ident);
    session.ReopenSession();
    if (!session.isConnected() || !record)
        return 1;
    for (const auto& [shop, code] : options.codes) {
        const auto position = record->PositionOfShop(shop);
        if (!position) {
            Print(stderr, QStringLiteral("--code: no shop with id %1").arg(shop));
            return 2;
        }
        record->SetKodKVR(*position, code);
    }
    model.settings().EdKatalogWymiany = options.directory;
    std::copy(options.consent.begin(), options.consent.end(), model.settings().consent.begin());

    UploadQueue written;
    ExportRun run({model, written, log, dialogs, clock, session, session.version()});
    bool complete = true;
    for (QDate day = options.from; day <= options.to && day < options.today; day = day.addDays(1)) {
        const qsizetype before = written.uploadList.size();
        try {
            run.ShopLoop(*record, day, options.today);
        } catch (const std::exception& error) {
            Print(stderr, QString::fromUtf8(error.what()));
            return 1;
        }
        for (qsizetype i = before; i < written.uploadList.size(); ++i)
            Print(stdout, written.uploadList[i]);
        complete = complete && written.uploadList.size() - before == record->ShopCount();
    }
    session.CloseSession();
    return complete ? 0 : 1;
}
