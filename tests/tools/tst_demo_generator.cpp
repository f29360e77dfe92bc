#include "db/query.h"
#include "db/session.h"
#include "demo_generator.h"
#include "support/test_database.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

demo::DemoOptions SmallChain(quint64 seed)
{
    demo::DemoOptions options;
    options.shops = 3;
    options.goods = 400;
    options.days = 4;
    options.lastDay = QDate(2026, 11, 30);
    options.seed = seed;
    return options;
}

QStringList Column(TQMXBazaDanych& session, const QString& statement)
{
    TKMQuery query;
    session.PowiazQuery(query);
    query.SetSQL(statement);
    query.Open();
    QStringList values;
    const TMField field = query.FieldByName(QStringLiteral("v"));
    for (; !query.Eof(); query.Next())
        values.append(field.GetAsString());
    return values;
}

QByteArray Digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestDemoGenerator : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyDocumentKindEveryDay();
    void codesNamesUnitsAndRates();
    void suppliersInMixedForms();
    void receiptsIncludeMidnight();
    void sameSeedSameDatabase();
    void refusesExistingFile();

private:
    QTemporaryDir folder_;
    QString path_;
    std::unique_ptr<TQMXBazaDanych> session_;
};

void TestDemoGenerator::initTestCase()
{
    path_ = folder_.filePath(QStringLiteral("demo.db"));
    QStringList progress;
    demo::CreateDemoDatabase(path_, SmallChain(7), [&](const QString& line) { progress << line; });
    QVERIFY(progress.contains(u"Sklep 3/3"));
    QVERIFY(!QFile::exists(path_ + QStringLiteral(".part")));
    session_ = test::Connect(path_);
    QVERIFY(session_->GetPolaczenieAktywne());
}

void TestDemoGenerator::everyDocumentKindEveryDay()
{
    // Per shop and day, each of the kinds the export reads is there.
    const QStringList counts =
        Column(*session_, "select count(distinct SklepId || '/' || Data) as v from SklepDok "
                          "where TypDok in (20, 21, 8, 2) group by TypDok");
    QCOMPARE(counts, QStringList(4, QStringLiteral("12")));
    QVERIFY(Column(*session_, "select TypDok as v from SklepDok where TypDok=4").size() > 0);
    QVERIFY(Column(*session_, "select TypDok as v from SklepDok where Aktywny=0").size() > 0);
    QVERIFY(Column(*session_, "select TypDok as v from SklepDok where TypDok not in "
                              "(20, 21, 8, 2, 4)")
                .size() > 0);
    // Positions exist for every document; purchase corrections carry negative values.
    QCOMPARE(Column(*session_, "select count(*) as v from SklepDok D where not exists (select 1 "
                               "from SklepPozDok P where P.SklepDokId=D.SklepDokId and "
                               "P.SklepId=D.SklepId)"),
             QStringList{"0"});
    QCOMPARE(Column(*session_, "select count(*) as v from SklepPozDok P, SklepDok D where "
                               "P.SklepDokId=D.SklepDokId and P.SklepId=D.SklepId and "
                               "D.TypDok=4 and P.Wartosc>0"),
             QStringList{"0"});
    QCOMPARE(Column(*session_, "select min(Data) || ' ' || max(Data) as v from SklepDok"),
             QStringList{"2026-11-27 00:00:00 2026-11-30 00:00:00"});
}

void TestDemoGenerator::codesNamesUnitsAndRates()
{
    const QStringList codes = Column(*session_, "select Kod as v from Towar");
    QCOMPARE(codes.size(), 400);
    const auto count = [&](auto predicate) {
        return std::count_if(codes.begin(), codes.end(), predicate);
    };
    QVERIFY(count([](const QString& c) { return c.contains(u'?'); }) > 0);
    QVERIFY(count([](const QString& c) { return c.size() == 13 && !c.contains(u'?'); }) > 0);
    QVERIFY(count([](const QString& c) { return c.size() == 16; }) > 0);

    const QStringList names = Column(*session_, "select Nazwa as v from Towar");
    QVERIFY(
        std::any_of(names.begin(), names.end(), [](const QString& n) { return n.contains(u'|'); }));
    static const QRegularExpression polish(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));
    QVERIFY(std::any_of(names.begin(), names.end(),
                        [](const QString& n) { return n.contains(polish); }));

    QCOMPARE(Column(*session_, "select distinct Stawka as v from Towar order by 1"),
             (QStringList{"-1", "0", "500", "800", "2300"}));
    const QStringList units = Column(*session_, "select Nazwa as v from JM");
    for (const char* unit : {"szt.", "kg", "litr", "opak", "mb"})
        QVERIFY2(units.contains(QString::fromUtf8(unit)), unit);
    const QStringList plu = Column(*session_, "select PrefPLU as v from KodDod");
    QVERIFY(plu.contains(QStringLiteral("0")));
    QVERIFY(std::any_of(plu.begin(), plu.end(), [](const QString& p) { return p != u"0"; }));
}

void TestDemoGenerator::suppliersInMixedForms()
{
    const QStringList nips =
        Column(*session_, "select NIP as v from Kontrahent where NIP is not null");
    QVERIFY(nips.contains(QStringLiteral("PL 526-000-12-46")));
    QVERIFY(nips.contains(QStringLiteral("5260001246")));
    QVERIFY(
        std::any_of(nips.begin(), nips.end(), [](const QString& n) { return n.contains(u'O'); }));
    QVERIFY(std::any_of(nips.begin(), nips.end(), [](const QString& n) { return n.isEmpty(); }));
    // Purchases name suppliers through the shop's own contractor ids.
    QVERIFY(Column(*session_,
                   "select D.SklepDokId as v from SklepDok D, SklepKontr K where "
                   "D.TypDok=2 and K.SklepKontrId=D.SklepKontrId and K.SklepId=D.SklepId")
                .size() > 0);
}

void TestDemoGenerator::receiptsIncludeMidnight()
{
    QVERIFY(Column(*session_, "select SklepParId as v from SklepParagon where DataCzas like "
                              "'% 00:00:00'")
                .size() >= 4);
    QVERIFY(Column(*session_, "select SklepParId as v from SklepParagon where Aktywny=0").size() >
            0);
    QVERIFY(Column(*session_, "select SklepParId as v from SklepParagon where TypPar<>0").size() >
            0);
}

void TestDemoGenerator::sameSeedSameDatabase()
{
    const QString again = folder_.filePath(QStringLiteral("again.db"));
    const QString other = folder_.filePath(QStringLiteral("other.db"));
    const auto quiet = [](const QString&) {
    };
    demo::CreateDemoDatabase(again, SmallChain(7), quiet);
    demo::CreateDemoDatabase(other, SmallChain(8), quiet);
    QCOMPARE(Digest(again), Digest(path_));
    QVERIFY(Digest(other) != Digest(path_));
}

void TestDemoGenerator::refusesExistingFile()
{
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             demo::CreateDemoDatabase(path_, SmallChain(1), [](const QString&) {}));
    QVERIFY(session_->GetPolaczenieAktywne());
}

QTEST_GUILESS_MAIN(TestDemoGenerator)
#include "tst_demo_generator.moc"
