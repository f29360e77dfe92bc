#include "support/files.h"
#include "support/ftp_server.h"
#include "transport/curl_ftp_client.h"
#include "transport/ftp_replies.h"

#include <QDir>
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

// The whole command sequence and the timeouts are the FTP job's tests; here, what only the
// client decides: a refused command raises and leaves the connection as it was; replies are
// read by their grammar.
class TestCurlFtpClient : public QObject {
    Q_OBJECT
private slots:
    void refusedCommandsRaise_data();
    void refusedCommandsRaise();
    void finalReplyLines_data();
    void finalReplyLines();
};

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

void TestCurlFtpClient::finalReplyLines_data()
{
    QTest::addColumn<QByteArray>("replies");
    QTest::addColumn<QList<QByteArray>>("finals");
    QTest::newRow("one line each") << QByteArray("350 Ready\r\n250 Renamed\r\n")
                                   << QList<QByteArray>{"350 Ready", "250 Renamed"};
    QTest::newRow("continuation lines that look like replies")
        << QByteArray("250-Renamed\r\n 550 not the end\r\n550 nor this\r\n250 End\r\n")
        << QList<QByteArray>{"250 End"};
    QTest::newRow("a code alone") << QByteArray("200\r\n") << QList<QByteArray>{"200"};
    QTest::newRow("text that is no reply")
        << QByteArray("hello\r\n21 x\r\n") << QList<QByteArray>{};
}

void TestCurlFtpClient::finalReplyLines()
{
    QFETCH(QByteArray, replies);
    QTEST(FinalReplyLines(replies), "finals");
}

QTEST_GUILESS_MAIN(TestCurlFtpClient)
#include "tst_curl_ftp_client.moc"
