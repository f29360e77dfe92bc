#include "support/files.h"
#include "support/ftp_server.h"
#include "transport/curl_ftp_client.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;
using test::ReadFile;
using test::WriteFile;

namespace {

FtpLogin Login(const test::FtpServer& server, const QString& password = QStringLiteral("haslo"))
{
    return {QStringLiteral("127.0.0.1"), server.port(), QStringLiteral("tarvexio"), password, true};
}

} // namespace

class TestCurlFtpClient : public QObject {
    Q_OBJECT
private slots:
    void oneConnectionCarriesTheWholeSequence();
    void refusedCommandsRaise_data();
    void refusedCommandsRaise();
    void silentServerTimesOut();
};

void TestCurlFtpClient::oneConnectionCarriesTheWholeSequence()
{
    test::FtpServer server;
    QVERIFY(server.started());
    QDir(server.root()).mkdir(QStringLiteral("in"));
    WriteFile(server.root() + "/in/K1_braki.kvr", "2026-03-01\r\n");
    WriteFile(server.root() + "/in/K2_braki.kvr", QByteArray(70000, 'x'));
    QTemporaryDir local;
    const QString data = local.filePath(QStringLiteral("PSHD_K1.DAT"));
    WriteFile(data, QByteArray(200000, 'd'));
    WriteFile(local.filePath(QStringLiteral("K2_braki.kvr")), "old content, longer than none");

    CurlFtpClient client;
    client.Connect(Login(server));
    client.ChangeDir(QStringLiteral("in"));
    client.SetTransferTypeBinary();
    qint64 lastCount = 0;
    client.Put(data, QStringLiteral("PSHD_K1.DAT.tmp"), [&](qint64 count) { lastCount = count; });
    client.Rename(QStringLiteral("PSHD_K1.DAT.tmp"), QStringLiteral("PSHD_K1.DAT"));
    const QStringList names = client.List();
    QList<qint64> sizes;
    for (const QString& name : {QStringLiteral("K1_braki.kvr"), QStringLiteral("K2_braki.kvr")}) {
        sizes << client.Size(name);
        client.SetTransferTypeBinary();
        client.Get(name, local.filePath(name), {});
        client.Delete(name);
    }
    client.Disconnect();

    // The listing leaves the server in ASCII mode, where it answers no SIZE: unknown, no error.
    QCOMPARE(sizes, (QList<qint64>{-1, 70000}));
    QCOMPARE(lastCount, 200000);
    QCOMPARE(ReadFile(server.root() + "/in/PSHD_K1.DAT"), QByteArray(200000, 'd'));
    QVERIFY(names.contains(QStringLiteral("K1_braki.kvr")) && names.size() == 3);
    QCOMPARE(ReadFile(local.filePath(QStringLiteral("K2_braki.kvr"))), QByteArray(70000, 'x'));
    QCOMPARE(QDir(server.root() + "/in").entryList(QDir::Files), QStringList{"PSHD_K1.DAT"});
    QCOMPARE(server.commands(),
             (QStringList{"USER tarvexio", "PASS", "CWD in", "TYPE I", "STOR PSHD_K1.DAT.tmp",
                          "RNFR PSHD_K1.DAT.tmp", "RNTO PSHD_K1.DAT", "TYPE A", "NLST",
                          "SIZE K1_braki.kvr", "TYPE I", "RETR K1_braki.kvr", "DELE K1_braki.kvr",
                          "SIZE K2_braki.kvr", "TYPE I", "RETR K2_braki.kvr", "DELE K2_braki.kvr",
                          "QUIT"}));
}

void TestCurlFtpClient::refusedCommandsRaise_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("CWD") << "CWD";
    QTest::newRow("STOR") << "STOR";
    QTest::newRow("RNTO") << "RNTO";
    QTest::newRow("RETR") << "RETR";
    QTest::newRow("DELE") << "DELE";
}

void TestCurlFtpClient::refusedCommandsRaise()
{
    QFETCH(QString, command);
    test::FtpServer server({"--refuse", command});
    QVERIFY(server.started());
    WriteFile(server.root() + "/a_braki.kvr", "x");
    QTemporaryDir local;
    WriteFile(local.filePath(QStringLiteral("f.DAT")), "data");
    CurlFtpClient client;
    client.Connect(Login(server));
    bool raised = false;
    try {
        if (command == u"CWD")
            client.ChangeDir(QStringLiteral("nowhere"));
        else if (command == u"STOR")
            client.Put(local.filePath(QStringLiteral("f.DAT")), QStringLiteral("f.DAT.tmp"), {});
        else if (command == u"RNTO")
            client.Rename(QStringLiteral("a_braki.kvr"), QStringLiteral("b"));
        else if (command == u"RETR")
            client.Get(QStringLiteral("a_braki.kvr"), local.filePath(QStringLiteral("a")), {});
        else
            client.Delete(QStringLiteral("a_braki.kvr"));
    } catch (const EFtpError& error) {
        raised = true;
        QVERIFY(!QString::fromUtf8(error.what()).contains(u"haslo"));
    }
    QVERIFY(raised);
    // The same connection goes on with the next command.
    QVERIFY(client.List().contains(QStringLiteral("a_braki.kvr")));
    QCOMPARE(server.commands().filter(QStringLiteral("USER")).size(), 1);
}

void TestCurlFtpClient::silentServerTimesOut()
{
    test::FtpServer server({"--hang"});
    QVERIFY(server.started());
    CurlFtpClient client(
        FtpTimeouts{std::chrono::seconds(2), std::chrono::seconds(2), std::chrono::seconds(2)});
    QElapsedTimer clock;
    clock.start();
    QVERIFY_THROWS_EXCEPTION(EFtpError, client.Connect(Login(server)));
    QVERIFY(clock.elapsed() < 10000);
}

QTEST_GUILESS_MAIN(TestCurlFtpClient)
#include "tst_curl_ftp_client.moc"
