#include "config/parameter_lines.h"
#include "config/password_coding.h"
#include "platform/windows1250.h"

#include <QTest>

using namespace tarvexio;

class TestParameterLines : public QObject {
    Q_OBJECT
private slots:
    void readsNamesAndValues_data();
    void readsNamesAndValues();
    void numberAfterSeparator_data();
    void numberAfterSeparator();
    void codesPasswords_data();
    void codesPasswords();
    void everyWindows1250CharacterSurvives();
};

void TestParameterLines::readsNamesAndValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const auto row = [](const char* tag, const QString& line, const QString& name,
                        const QString& value) {
        QTest::newRow(tag) << line << name << value;
    };
    const QString pad = QString(35 - 7, u' ');
    row("as written", "ParGodz" + pad + " 20", "ParGodz", "20");
    row("blanks and tabs around the value", "ParGodz" + pad + "   2 0 \t", "ParGodz", "2 0");
    row("value reaching into column 35 spoils the name", "ParGodz" + QString(27, u' ') + "20",
        "ParGodz" + QString(27, u' ') + "2", "20");
    row("name spilling past column 35", QString(33, u'x') + "ParGodz 20", QString(33, u'x') + "Pa",
        "arGodz 20");
    row("300 characters cut to 253", "ParSerwis_IT" + QString(24, u' ') + QString(300, u'z'),
        "ParSerwis_IT", QString(253, u'z'));
}

void TestParameterLines::readsNamesAndValues()
{
    QFETCH(QString, line);
    const QStringList lines{line};
    QTEST(parameterName(lines, 0), "name");
    QTEST(parameterValue(lines, 0), "value");
    QCOMPARE(parameterName(lines, 1), QString());
    QCOMPARE(parameterValue(lines, -1), QString());
}

void TestParameterLines::numberAfterSeparator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("shop id") << "ParKodKVR#12" << 12;
    QTest::newRow("no separator") << "ParKodKVR12" << 0;
    QTest::newRow("ends in letters") << "ParKodKVR#12a" << 0;
    QTest::newRow("ten digits") << "ParKodKVR#2147483647" << 2147483647;
    QTest::newRow("beyond 32 bits") << "ParKodKVR#2147483648" << 0;
}

void TestParameterLines::numberAfterSeparator()
{
    QFETCH(QString, text);
    QTEST(tarvexio::numberAfterSeparator(text, u'#'), "number");
}

void TestParameterLines::codesPasswords_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("coded");
    const auto row = [](const char* tag, const char* password, const char* coded) {
        QTest::newRow(tag) << QString::fromUtf8(password) << QString::fromLatin1(coded);
    };
    row("abc", "abc", "086108092");
    row("empty", "", "");
    // A low byte gives a negative number that keeps three characters with its sign.
    row("control character", "\x01", "-10");
    // "ł" is 0xB3 in Windows-1250: -77 - 11 = -88.
    row("Polish letter", "ł", "-88");
    // 0x80 ("€") at an even place: -128 - 11 = -139, stored as -139 + 256.
    row("below -99 wraps by 256", "€", "117");
}

void TestParameterLines::codesPasswords()
{
    QFETCH(QString, password);
    QFETCH(QString, coded);
    QCOMPARE(KodowanieHasla(password), coded);
    QCOMPARE(dekodowanieHasla(coded), password);
}

void TestParameterLines::everyWindows1250CharacterSurvives()
{
    // Every byte Windows-1250 defines, at even and at odd places (the shifts differ).
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        bytes.append(char(b));
    QString all = fromWindows1250(bytes);
    all.remove(QChar::ReplacementCharacter);
    for (const QString& password : {all, u'x' + all}) {
        const QString coded = KodowanieHasla(password);
        QCOMPARE(coded.size(), 3 * password.size());
        QCOMPARE(dekodowanieHasla(coded), password);
    }
}

QTEST_GUILESS_MAIN(TestParameterLines)
#include "tst_parameter_lines.moc"
