// tarvexio-export: the agent's export for operators, without window, scheduler or upload.
#include "app/argument_passwords.h"
#include "app/stored_settings.h"
#include "app/version.h"
#include "config/konfig_table.h"
#include "config/parameter_list.h"
#include "config/settings_record.h"
#include "db/database_name.h"
#include "db/session.h"
#include "export/export_run.h"
#include "model/event_log.h"
#include "platform/clock.h"
#include "platform/headless_dialogs.h"
#include "platform/process_privacy.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <variant>

using namespace tarvexio;

namespace {

// What the command line gives; what it leaves out comes from the agent's stored settings.
struct Options {
    QString database;
    QString ident;
    QString directory; // empty: the stored exchange directory
    QDate from;
    QDate to;
    QDate today;
    std::optional<ConsentBoxes> consent;
    QList<QPair<qint32, QString>> codes;
};

void print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

QDate day(const QCommandLineParser& parser, const QString& name, QStringList& errors)
{
    const QDate day = QDate::fromString(parser.value(name), QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        errors
            << QStringLiteral("--%1: expected YYYY-MM-DD, got '%2'").arg(name, parser.value(name));
    return day;
}

// Fills options; returns the problems found (empty when the arguments are good).
QStringList parse(const QCommandLineParser& parser, Options& options)
{
    QStringList errors;
    for (const char* required : {"db", "from", "to"}) {
        if (!parser.isSet(QString::fromLatin1(required)))
            errors << QStringLiteral("--%1 is required").arg(QString::fromLatin1(required));
    }
    if (!errors.isEmpty())
        return errors;
    options.database = parser.value(QStringLiteral("db"));
    options.ident = parser.value(QStringLiteral("ident"));
    // The data files name their folder (SCIEZKA_EXP): a full path says more than "./out".
    if (parser.isSet(QStringLiteral("dir"))) {
        options.directory = QFileInfo(parser.value(QStringLiteral("dir"))).absoluteFilePath();
        if (!QFileInfo(options.directory).isDir())
            errors << QStringLiteral("--dir: no such directory '%1'").arg(options.directory);
    }
    options.from = day(parser, QStringLiteral("from"), errors);
    options.to = day(parser, QStringLiteral("to"), errors);
    options.today = parser.isSet(QStringLiteral("today"))
                        ? day(parser, QStringLiteral("today"), errors)
                        : QDate::currentDate();
    if (parser.isSet(QStringLiteral("flags"))) {
        const QString flags = parser.value(QStringLiteral("flags"));
        if (flags.size() != 10 || flags.contains(QRegularExpression(QStringLiteral("[^01]")))) {
            errors
                << QStringLiteral("--flags: expected ten characters 0 or 1, got '%1'").arg(flags);
        } else {
            options.consent.emplace();
            for (int i = 0; i < 10; ++i)
                (*options.consent)[DaneExpOrder[i]] = flags[i] == u'1';
        }
    }
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

// The options every run knows; usage errors exit 2, as the agent's do (Qt's own handling
// would exit 1).
void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Writes the agent's data files for every shop and each day of a range (days before "
        "today only) and prints the path of each file written. The exchange directory, the "
        "consent boxes and the shops' codes are the agent's own, from the database's Konfig "
        "table; the options below override them.\n\n"
        "Exit status:\n"
        "  0  every shop with a code got its file for every day\n"
        "  1  a shop with a code got no file, or the database could not be reached\n"
        "  2  bad arguments"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("db"),
         QStringLiteral("Database: SQLite path, postgresql:// URL or odbc:..."),
         QStringLiteral("NAME")},
        {QStringLiteral("ident"),
         QStringLiteral("User identifier (database user when the name gives none)."),
         QStringLiteral("USER")},
        {QStringLiteral("dir"),
         QStringLiteral("Exchange directory to write the files into (default: the stored one)."),
         QStringLiteral("DIR")},
        {QStringLiteral("from"), QStringLiteral("First day."), QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("to"), QStringLiteral("Last day."), QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("flags"),
         QStringLiteral("The ten consent boxes in DANE_EXP order (default: the stored ones)."),
         QStringLiteral("1111111111")},
        {QStringLiteral("code"),
         QStringLiteral("A shop's KVR code, over the stored one (repeatable)."),
         QStringLiteral("SHOPID=CODE")},
        {QStringLiteral("today"), QStringLiteral("The day taken as today (default: the real one)."),
         QStringLiteral("YYYY-MM-DD")},
    });
}

// The options, or the exit code when the command line says to stop here.
std::variant<Options, int> readOptions(QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.parse(arguments)) {
        print(stderr, parser.errorText());
        print(stderr, parser.helpText());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, QStringLiteral("tarvexio-export %1").arg(QStringLiteral(TARVEXIO_VERSION)));
        return 0;
    }
    Options options;
    QStringList errors = parse(parser, options);
    if (!parser.positionalArguments().isEmpty())
        errors << QStringLiteral("unexpected arguments: %1")
                      .arg(parser.positionalArguments().join(u' '));
    if (errors.isEmpty())
        return options;
    for (const QString& error : errors)
        print(stderr, error);
    print(stderr, parser.helpText());
    return 2;
}

// The agent's stored settings, with the command line over them: the export's settings, or the
// exit code of a code or folder that cannot be.
std::variant<ExportSettings, int> exportSettings(TKonfigEksportu& record, TQMXBazaDanych& session,
                                                 const Options& options)
{
    try {
        readParameterList(konfigTableLines(session), record);
    } catch (const std::exception& error) {
        print(stderr, QString::fromUtf8(error.what()));
    }
    for (const auto& [shop, code] : options.codes) {
        const auto position = record.positionOfShop(shop);
        if (!position) {
            print(stderr, QStringLiteral("--code: no shop with id %1").arg(shop));
            return 2;
        }
        record.setKodKvr(*position, code);
    }
    const QString directory =
        options.directory.isEmpty() ? record.ParEksportDir : options.directory;
    if (!QFileInfo(directory).isDir()) {
        print(stderr, directory.isEmpty()
                          ? QStringLiteral("--dir: no exchange directory given or stored")
                          : QStringLiteral("The stored exchange directory '%1' does not exist; "
                                           "give one with --dir")
                                .arg(directory));
        return 2;
    }
    ExportSettings settings{directory, {}, true};
    for (int i = 0; i < TKonfigEksportu::ConsentCount; ++i)
        settings.consent[i] = options.consent ? (*options.consent)[i] : record.consent[i] != 0;
    return settings;
}

// Every day of the range before today; as the manual export does, a failed shop is named and
// the day's other shops go on. The number of files that a shop with a code did not get.
// The files this run writes. The tool makes what it is asked for, whatever was made before.
class WrittenFiles final : public MadeFiles {
public:
    QStringList paths;
    void made(const QString& path) override { paths << path; }
    bool hasCurrentFile(const QDate&, const QString&) const override { return false; }
};

qsizetype exportDays(ExportRun& run, const QStringList& written, const TKonfigEksportu& record,
                     const ExportSettings& settings, const Options& options)
{
    // Shops without a code are skipped with a line of their own; every other shop owes a file.
    const qsizetype codedShops = dailyShopCodes(record).size();
    qsizetype failures = 0;
    for (QDate day = options.from; day <= options.to && day < options.today; day = day.addDays(1)) {
        const qsizetype before = written.size();
        run.shopLoop(record, settings, day, options.today, [&](const auto& procedure) {
            try {
                procedure(nullptr);
            } catch (const std::exception& error) {
                print(stderr, QString::fromUtf8(error.what()));
            }
        });
        for (qsizetype i = before; i < written.size(); ++i)
            print(stdout, written[i]);
        failures += codedShops - (written.size() - before);
    }
    return failures;
}

// BAZA= and IDENT= as the agent takes them, for --db and --ident.
QStringList withAgentNames(QStringList arguments)
{
    static const QRegularExpression name(QStringLiteral("^(BAZA|IDENT)=(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (QString& argument : arguments) {
        if (const QRegularExpressionMatch match = name.match(argument); match.hasMatch())
            argument = (match.captured(1).toUpper() == u"BAZA" ? QStringLiteral("--db=")
                                                               : QStringLiteral("--ident=")) +
                       match.captured(2);
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    keepProcessPrivate();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvexio-export"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVEXIO_VERSION));
    const QStringList arguments = withAgentNames(QCoreApplication::arguments());
    hideDatabasePasswordsInArguments(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    const std::variant<Options, int> read = readOptions(parser, arguments);
    if (const int* code = std::get_if<int>(&read))
        return *code;
    const Options& options = std::get<Options>(read);

    SystemClock clock(false);
    HeadlessDialogs dialogs;
    EventLog log(clock);
    log.setEcho([](const QString& line, const QString&, LineMeaning) { print(stderr, line); });
    StoredSettings stored(log, QString::fromLatin1(TARVEXIO_VERSION), QString());
    if (!stored.connect(options.database, options.ident)) {
        if (!stored.failure().isEmpty())
            print(stderr, stored.failure());
        return 1;
    }
    const std::variant<ExportSettings, int> settings =
        exportSettings(stored.record(), *stored.session().session(), options);
    if (const int* code = std::get_if<int>(&settings))
        return *code;
    WrittenFiles written;
    ExportRun run({written, log, dialogs, clock, stored.session(), stored.session().version()});
    const qsizetype failures = exportDays(run, written.paths, stored.record(),
                                          std::get<ExportSettings>(settings), options);
    stored.session().CloseSession();
    return failures == 0 ? 0 : 1;
}
