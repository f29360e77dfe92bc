#include "demo_generator.h"

#include "config/password_coding.h"
#include "db/schema.h"
#include "random_source.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tarvexio::demo {

namespace {

[[noreturn]] void fail(const QString& what, const QSqlError& error)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, error.text()).toStdString());
}

// One prepared INSERT, executed row after row.
class Inserter {
public:
    Inserter(QSqlDatabase& db, const QString& table, int columns)
        : query_(db)
        , table_(table)
    {
        QStringList marks;
        for (int i = 0; i < columns; ++i)
            marks.append(QStringLiteral("?"));
        if (!query_.prepare(
                QStringLiteral("insert into %1 values (%2)").arg(table, marks.join(u','))))
            fail(table, query_.lastError());
    }

    void row(std::initializer_list<QVariant> values)
    {
        int i = 0;
        for (const QVariant& value : values)
            query_.bindValue(i++, value);
        if (!query_.exec())
            fail(table_, query_.lastError());
    }

private:
    QSqlQuery query_;
    QString table_;
};

const char* const Cities[] = {"Łódź",      "Kraków",       "Gdańsk",      "Poznań",  "Wrocław",
                              "Białystok", "Zielona Góra", "Częstochowa", "Toruń",   "Rzeszów",
                              "Śrem",      "Żory",         "Opole",       "Kielce",  "Lublin",
                              "Bydgoszcz", "Szczecin",     "Katowice",    "Olsztyn", "Gorzów"};

const QString PasswordParameters[] = {QStringLiteral("ParHasloFTP"), QStringLiteral("ParPbkHaslo")};

const char* const Units[] = {"szt.", "kg", "litr", "opak", "mb", "op kg", "Lt", "para"};

const char* const Groups[] = {
    "Nabiał",          "Pieczywo",        "Napoje",   "Słodycze",  "Chemia",
    "Warzywa i owoce", "Mięso i wędliny", "Alkohole", "Przyprawy", "Artykuły przemysłowe"};

const char* const Nouns[] = {
    "Masło ekstra",   "Śmietana 18%",     "Żurek śląski",     "Chleb żytni",   "Jabłka Szampion",
    "Pączek z różą",  "Kiełbasa śląska",  "Łosoś wędzony",    "Woda źródlana", "Ręcznik papierowy",
    "Mąka pszenna",   "Cukier biały",     "Herbata czarna",   "Kawa mielona",  "Sok jabłkowy",
    "Ser żółty",      "Jogurt naturalny", "Piwo jasne",       "Wódka żytnia",  "Czekolada gorzka",
    "Ogórki kiszone", "Pierogi ruskie",   "Dżem truskawkowy", "Miód gryczany"};

const char* const Sizes[] = {"100 g", "200 g", "250 g", "500 g", "1 kg", "0,5 l", "1 l", "1,5 l"};

const char* const Brands[] = {"Mleczna Dolina", "Złoty Kłos", "Pod Świerkiem", "Łąkowy",
                              "Źródełko",       "Gospodarz",  "Ślązaczka",     "Żuławy"};

// Tax numbers as people type them: prefixes, blanks, hyphens, a letter O for a zero.
const char* const SupplierNips[] = {"PL 526-000-12-46",
                                    "5260001246",
                                    "526-00-01-246",
                                    "PL5250007313",
                                    "525 000 73 13",
                                    "1O1-OOO-O2-O3",
                                    "7740001454",
                                    "PL 774-000-14-54",
                                    "951-19-07-889",
                                    "95119O7889",
                                    "",
                                    "DE 123456789012"};

const int Stawki[] = {2300, 2300, 2300, 800, 800, 500, 0, -1};

QString dayText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QString momentText(const QDate& day, int secondsOfDay)
{
    return dayText(day).left(10) + u' ' +
           QTime(0, 0).addSecs(secondsOfDay).toString(QStringLiteral("HH:mm:ss"));
}

double cents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

QString digits(RandomSource& random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QChar(u'0' + random.between(0, 9)));
    return text;
}

QString goodsCode(RandomSource& random)
{
    const int kind = random.between(0, 99);
    if (kind < 78)
        return QStringLiteral("590") + digits(random, 10);
    if (kind < 84) // scale codes with "?" placeholders for weight or price
        return QStringLiteral("2") + digits(random, 5) + QStringLiteral("??????");
    if (kind < 88) // placeholders inside too
        return QStringLiteral("?") + digits(random, 3) + QStringLiteral("?") + digits(random, 3);
    if (kind < 93)
        return digits(random, 16);
    if (kind < 98)
        return digits(random, 8);
    return {};
}

struct Goods {
    int stawka;
    double price; // purchase price
    bool weighed;
};

struct Generator {
    Generator(QSqlDatabase& database, const DemoOptions& demoOptions,
              const std::function<void(const QString&)>& report)
        : db(database)
        , options(demoOptions)
        , progress(report)
        , random(demoOptions.seed)
    {}

    QSqlDatabase& db;
    const DemoOptions& options;
    const std::function<void(const QString&)>& progress;
    RandomSource random;
    QVector<Goods> goods;

    // A shop's own id for a central goods id: a rotation per shop, so that joins which
    // forget the shop id go wrong visibly.
    int localGoodsId(int shop, int towId) const
    {
        return (towId - 1 + shop * 37) % options.goods + 1;
    }
    int localSupplierId(int shop, int kontrId) const { return kontrId * 3 + shop; }

    // Popular goods sell more often: skew the choice toward low ids.
    int pickGoods()
    {
        const double u = random.unit();
        return 1 + std::min(options.goods - 1, int(options.goods * u * u * u));
    }

    void agentSettings()
    {
        Inserter konfig(db, QStringLiteral("Konfig"), 3);
        for (const auto& [name, value] : options.settings) {
            const bool password =
                std::find(std::begin(PasswordParameters), std::end(PasswordParameters), name) !=
                std::end(PasswordParameters);
            konfig.row(
                {QStringLiteral("Tarvexio"), name, password ? KodowanieHasla(value) : value});
        }
    }

    void dictionaries()
    {
        Inserter jm(db, QStringLiteral("JM"), 2);
        for (int i = 0; i < int(std::size(Units)); ++i)
            jm.row({i + 1, QString::fromUtf8(Units[i])});
        Inserter asort(db, QStringLiteral("Asort"), 2);
        for (int i = 0; i < int(std::size(Groups)); ++i)
            asort.row({i + 1, QString::fromUtf8(Groups[i])});
        Inserter kontrahent(db, QStringLiteral("Kontrahent"), 3);
        for (int i = 0; i < int(std::size(SupplierNips)); ++i) {
            const char* nip = SupplierNips[i];
            kontrahent.row({i + 1,
                            QStringLiteral("Dostawca %1 Sp. z o.o.")
                                .arg(QString::fromUtf8(Brands[i % std::size(Brands)])),
                            nip == nullptr ? QVariant() : QVariant(QString::fromUtf8(nip))});
        }
        Inserter sklep(db, QStringLiteral("Sklep"), 2);
        for (int shop = 1; shop <= options.shops; ++shop)
            sklep.row({shop, QStringLiteral("Sklep %1 %2")
                                 .arg(QString::fromUtf8(Cities[(shop - 1) % std::size(Cities)]))
                                 .arg(shop)});
    }

    void goodsCatalogue()
    {
        progress(QStringLiteral("Towary: %1").arg(options.goods));
        Inserter towar(db, QStringLiteral("Towar"), 8);
        Inserter kodDod(db, QStringLiteral("KodDod"), 4);
        goods.reserve(options.goods);
        for (int towId = 1; towId <= options.goods; ++towId) {
            const int unit = random.chance(0.8) ? 1 : random.between(2, int(std::size(Units)));
            const Goods item{random.pick(Stawki), cents(0.5 + random.unit() * 120.0),
                             unit == 2 || unit == 6};
            goods.append(item);
            QString name = QStringLiteral("%1 %2 %3")
                               .arg(QString::fromUtf8(random.pick(Nouns)),
                                    QString::fromUtf8(random.pick(Brands)),
                                    QString::fromUtf8(random.pick(Sizes)));
            if (towId % 97 == 0)
                name += QStringLiteral(" | promocja 2+1");
            QVariant pkwiu;
            if (!random.chance(0.1))
                pkwiu = random.chance(0.05) ? QStringLiteral("10.51.30.0-00.11.22.33-44")
                                            : QStringLiteral("%1.%2.%3.0")
                                                  .arg(random.between(10, 32))
                                                  .arg(random.between(10, 99))
                                                  .arg(random.between(10, 99));
            towar.row({towId, goodsCode(random), name, item.stawka,
                       random.between(1, int(std::size(Groups))), pkwiu, unit, item.price});
            if (random.chance(0.6)) {
                const int plu = random.chance(0.25) ? 0 : random.between(1, 9999);
                kodDod.row({towId, 1, QStringLiteral("29") + digits(random, 5), plu});
                if (random.chance(0.1))
                    kodDod.row({towId, 2, digits(random, 13), random.between(1, 9999)});
            }
        }
    }

    void shopGoodsAndStock(int shop)
    {
        Inserter sklepTowar(db, QStringLiteral("SklepTowar"), 3);
        Inserter sklepIstw(db, QStringLiteral("SklepIstw"), 3);
        Inserter sklepKontr(db, QStringLiteral("SklepKontr"), 3);
        for (int towId = 1; towId <= options.goods; ++towId) {
            const int local = localGoodsId(shop, towId);
            sklepTowar.row({local, shop, towId});
            if (random.chance(0.1))
                continue;
            QVariant stock;
            const int kind = random.between(0, 99);
            if (kind < 3)
                stock = 0.0;
            else if (kind < 5)
                stock = -double(random.between(1, 5));
            else if (kind >= 99)
                stock = QVariant();
            else
                stock = goods[towId - 1].weighed ? cents(random.unit() * 40.0)
                                                 : double(random.between(1, 300));
            sklepIstw.row({local, shop, stock});
        }
        for (int kontrId = 1; kontrId <= int(std::size(SupplierNips)); ++kontrId)
            sklepKontr.row({localSupplierId(shop, kontrId), shop, kontrId});
    }

    struct DocumentTotals {
        double netto = 0;
        double razem = 0;
        double nettoMag = 0;
    };

    void shopDays(int shop)
    {
        Inserter dok(db, QStringLiteral("SklepDok"), 9);
        Inserter poz(db, QStringLiteral("SklepPozDok"), 12);
        Inserter paragon(db, QStringLiteral("SklepParagon"), 7);
        int dokId = 0;
        int parId = 0;
        const QDate first = options.lastDay.addDays(1 - options.days);
        for (QDate day = first; day <= options.lastDay; day = day.addDays(1)) {
            // type, count, positions low..high
            const struct {
                int type;
                int count;
                int low;
                int high;
            } plan[] = {{21, random.between(20, 40), 1, 6},
                        {20, random.between(2, 4), 2, 10},
                        {8, random.between(1, 2), 1, 2},
                        {2, random.between(1, 3), 5, 30},
                        {4, random.between(0, 1), 1, 3},
                        {11, 1, 1, 4},
                        {30, 1, 1, 3}};
            for (const auto& kind : plan) {
                for (int n = 0; n < kind.count; ++n) {
                    const bool cancelled = random.chance(0.03);
                    writeDocument(dok, poz, shop, ++dokId, kind.type, day, cancelled,
                                  random.between(kind.low, kind.high));
                }
            }
            const int receipts = random.between(40, 80);
            for (int n = 0; n < receipts; ++n) {
                const int seconds = random.between(6 * 3600, 22 * 3600);
                paragon.row({++parId, shop, random.chance(0.02) ? 0 : 1, momentText(day, seconds),
                             random.chance(0.05) ? 1 : 0, random.between(1, 15),
                             cents(2.0 + random.unit() * 300.0)});
            }
            // A receipt stamped exactly at midnight belongs to both days' windows.
            if (shop == 1)
                paragon.row({++parId, shop, 1, dayText(day.addDays(1)), 0, 3, 12.5});
        }
    }

    void writeDocument(Inserter& dok, Inserter& poz, int shop, int dokId, int type,
                       const QDate& day, bool cancelled, int positions)
    {
        const bool purchase = type == 2 || type == 4;
        DocumentTotals totals;
        for (int position = 1; position <= positions; ++position) {
            const int towId = pickGoods();
            const Goods& item = goods[towId - 1];
            const double quantity = item.weighed
                                        ? std::round(random.unit() * 3000.0 + 100.0) / 1000.0
                                        : double(random.between(1, purchase ? 48 : 5));
            const double corrected = random.chance(0.02) ? 1.0 : 0.0;
            const double netQuantity = quantity - corrected;
            const double cenaDet = cents(item.price * 1.3);
            const double cenaPoRab =
                purchase ? item.price : cents(cenaDet * (random.chance(0.1) ? 0.9 : 1.0));
            const double rate = std::max(0, item.stawka) * 0.0001;
            double wartosc = cents(cenaPoRab * netQuantity);
            totals.netto += wartosc;
            totals.razem += cents(wartosc * (1.0 + rate));
            totals.nettoMag += cents(item.price * netQuantity);
            if (type == 4)
                wartosc = -wartosc;
            poz.row({dokId, shop, position, localGoodsId(shop, towId), quantity, corrected, cenaDet,
                     cenaPoRab, item.stawka, wartosc, item.price, random.chance(0.05) ? 1 : 0});
        }
        QVariant supplier;
        if (purchase && !random.chance(0.05))
            supplier = localSupplierId(shop, random.between(1, int(std::size(SupplierNips))));
        dok.row({dokId, shop, type, cancelled ? 0 : 1, dayText(day), supplier, cents(totals.netto),
                 cents(totals.razem), cents(totals.nettoMag)});
    }

    void run()
    {
        agentSettings();
        dictionaries();
        goodsCatalogue();
        for (int shop = 1; shop <= options.shops; ++shop) {
            progress(QStringLiteral("Sklep %1/%2").arg(shop).arg(options.shops));
            shopGoodsAndStock(shop);
            shopDays(shop);
        }
    }
};

} // namespace

void generateDemoData(QSqlDatabase& db, const DemoOptions& options,
                      const std::function<void(const QString&)>& progress)
{
    if (options.shops < 1 || options.goods < 1 || options.days < 1 || !options.lastDay.isValid())
        throw std::invalid_argument(
            "shops, goods and days must be positive and the last day valid");
    if (!db.transaction())
        fail(QStringLiteral("transakcja"), db.lastError());
    try {
        Generator(db, options, progress).run();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        fail(QStringLiteral("zatwierdzenie"), db.lastError());
}

void createDemoDatabase(const QString& path, const DemoOptions& options,
                        const std::function<void(const QString&)>& progress)
{
    if (QFile::exists(path))
        throw std::runtime_error(
            QStringLiteral("Plik %1 już istnieje; usuń go albo podaj inną nazwę")
                .arg(path)
                .toStdString());
    const QString building = path + QStringLiteral(".part");
    QFile::remove(building);
    const QString connection = QStringLiteral("demo-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(building);
        if (!db.open())
            fail(building, db.lastError());
        QSqlQuery pragma(db);
        // A half-built file is thrown away, so durability is not needed while building.
        pragma.exec(QStringLiteral("pragma journal_mode=off"));
        pragma.exec(QStringLiteral("pragma synchronous=off"));
        for (const QString& statement : schemaStatements(SqlEngine::SQLite)) {
            if (!pragma.exec(statement))
                fail(statement, pragma.lastError());
        }
        try {
            generateDemoData(db, options, progress);
        } catch (...) {
            db.close();
            QFile::remove(building);
            throw;
        }
        pragma.exec(QStringLiteral("analyze"));
        pragma.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!QFile::rename(building, path))
        throw std::runtime_error(QStringLiteral("Nie można utworzyć %1").arg(path).toStdString());
}

} // namespace tarvexio::demo
