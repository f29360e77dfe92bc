// Creates a SQLite database of a realistic retail chain for demos, tests and benchmarks.
#include "demo_generator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

int positiveOption(const QCommandLineParser& parser, const QString& name, bool& ok)
{
    bool parsed = false;
    const int value = parser.value(name).toInt(&parsed);
    if (!parsed || value < 1) {
        std::fprintf(stderr, "--%s: expected a positive whole number, got '%s'\n", qPrintable(name),
                     qPrintable(parser.value(name)));
        ok = false;
    }
    return value;
}

void describeOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Creates a SQLite database of a retail chain (shops, goods, documents, "
                       "receipts, stock) for the Tarvexio agent."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("shops"), QStringLiteral("Number of shops."), QStringLiteral("n"),
         QStringLiteral("5")},
        {QStringLiteral("goods"), QStringLiteral("Number of goods."), QStringLiteral("n"),
         QStringLiteral("2000")},
        {QStringLiteral("days"), QStringLiteral("Number of days with documents."),
         QStringLiteral("n"), QStringLiteral("14")},
        {QStringLiteral("last-day"),
         QStringLiteral("Last day with documents (default: yesterday)."),
         QStringLiteral("YYYY-MM-DD")},
        {QStringLiteral("seed"), QStringLiteral("Seed: the same seed gives the same data."),
         QStringLiteral("n"), QStringLiteral("1")},
        {QStringLiteral("setting"),
         QStringLiteral("A setting of the agent in its Konfig group, e.g. ParSerwerFTP=host or "
                        "ParKodKVR#1=1001 (passwords are given plain and stored coded); "
                        "repeatable."),
         QStringLiteral("name=value")},
    });
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The database file to create."));
}

// The options; false (each problem said on stderr) when one is bad.
bool readOptions(const QCommandLineParser& parser, tarvexio::demo::DemoOptions& options)
{
    bool ok = true;
    options.shops = positiveOption(parser, QStringLiteral("shops"), ok);
    options.goods = positiveOption(parser, QStringLiteral("goods"), ok);
    options.days = positiveOption(parser, QStringLiteral("days"), ok);
    bool seedOk = false;
    options.seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    if (!seedOk) {
        std::fprintf(stderr, "--seed: expected a whole number\n");
        ok = false;
    }
    options.lastDay = parser.isSet(QStringLiteral("last-day"))
                          ? QDate::fromString(parser.value(QStringLiteral("last-day")), Qt::ISODate)
                          : QDate::currentDate().addDays(-1);
    if (!options.lastDay.isValid()) {
        std::fprintf(stderr, "--last-day: expected YYYY-MM-DD\n");
        ok = false;
    }
    for (const QString& setting : parser.values(QStringLiteral("setting"))) {
        const qsizetype at = setting.indexOf(u'=');
        if (at <= 0) {
            std::fprintf(stderr, "--setting: expected name=value, got '%s'\n", qPrintable(setting));
            ok = false;
            continue;
        }
        options.settings.append({setting.left(at), setting.mid(at + 1)});
    }
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "Give exactly one database file to create.\n");
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
    tarvexio::demo::DemoOptions options;
    if (!readOptions(parser, options)) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }

    QElapsedTimer clock;
    clock.start();
    try {
        tarvexio::demo::createDemoDatabase(
            parser.positionalArguments().front(), options, [&clock](const QString& line) {
                std::printf("[%5.1f s] %s\n", double(clock.elapsed()) / 1000.0, qPrintable(line));
                std::fflush(stdout);
            });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("Gotowe: %s (%.1f s)\n", qPrintable(parser.positionalArguments().front()),
                double(clock.elapsed()) / 1000.0);
    return 0;
}
