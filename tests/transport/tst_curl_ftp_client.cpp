// The whole command sequence, refusals and timeouts are the FTP job's tests; here, what only
// the client decides: replies are read by their grammar, and TLS ("ftps://host" in the
// settings) against a server nobody here wrote, Debian's vsftpd.
#include "support/files.h"
#include "support/ftp_job_doubles.h"
#include "support/vsftpd.h"
#include "transport/ftp_replies.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace tarvexio;

class TestCurlFtpClient : public QObject {
    Q_OBJECT
private slots:
    void finalReplyLines_data();
    void finalReplyLines();
    void jobAgainstVsftpd_data();
    void jobAgainstVsftpd();
};

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
    QTest::newRow("two long replies in a row")
        << QByteArray("211-Features\r\n SIZE\r\n211-x\r\n211 End\r\n350-a\r\n350-b\r\n350 c\r\n")
        << QList<QByteArray>{"211 End", "350 c"};
    QTest::newRow("text that is no reply")
        << QByteArray("hello\r\n21 x\r\n") << QList<QByteArray>{};
}

void TestCurlFtpClient::finalReplyLines()
{
    QFETCH(QByteArray, replies);
    QTEST(tarvexio::finalReplyLines(replies), "finals");
}

void TestCurlFtpClient::jobAgainstVsftpd_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("protocol"); // what the server's OpenSSL is limited to
    QTest::addColumn<int>("jobs");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("trusted"); // the certificate's authority is named
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    const QString tls = QStringLiteral("ftps://127.0.0.1");
    QTest::newRow("plain FTP") << false << "" << 1 << "127.0.0.1" << false << 0 << "";
    // TLS 1.3 unless the server stops at 1.2. Over 1.3 vsftpd used to answer every other
    // upload with 426, and to refuse about every other listing after an upload with 522 (the
    // data connection resumed no session): every job must send and fetch.
    QTest::newRow("TLS 1.3, the server's choice") << true << "" << 20 << tls << true << 0 << "";
    QTest::newRow("TLS 1.3 only") << true << "MinProtocol = TLSv1.3" << 20 << tls << true << 0
                                  << "";
    QTest::newRow("TLS 1.2 at most")
        << true << "MaxProtocol = TLSv1.2" << 1 << tls << true << 0 << "";
    QTest::newRow("TLS, certificate not verified")
        << true << "" << 1 << tls << false << -1 << "certificate";
    QTest::newRow("a server that wants TLS, asked without")
        << true << "" << 1 << "127.0.0.1" << true << -1 << "530";
}

void TestCurlFtpClient::jobAgainstVsftpd()
{
    QFETCH(bool, tls);
    QFETCH(QString, protocol);
    QFETCH(int, jobs);
    QFETCH(QString, server);
    QFETCH(bool, trusted);
    QFETCH(int, status);
    QFETCH(QString, reason);
    test::Vsftpd vsftpd(tls, protocol);
    if (!vsftpd.failure().isEmpty())
        QSKIP(qPrintable(vsftpd.failure()));
    // The anonymous user may delete what it fetched.
    const auto request = [&vsftpd](int job) {
        const QString path = vsftpd.root() + QStringLiteral("/in/K1_braki.kvr");
        test::writeFile(path, QByteArray::number(20260300 + job) + "\r\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                        QFile::WriteOther);
    };
    request(1);
    if (trusted)
        qputenv("TARVEXIO_CA_FILE", vsftpd.certificate().toUtf8());
    const auto untrust = qScopeGuard([] { qunsetenv("TARVEXIO_CA_FILE"); });

    test::FtpJob job;
    job.parameters.ParSerwerFTP = server;
    job.parameters.ParPortFTP = vsftpd.port();
    job.parameters.ParUserFTP = QStringLiteral("anonymous");
    job.parameters.ParFolderFTP = QStringLiteral("in");
    job.send();

    QCOMPARE(job.result.Status, status);
    QVERIFY2(job.result.FailureReason.contains(reason), qPrintable(job.result.FailureReason));
    const QStringList onServer = QDir(vsftpd.root() + "/in").entryList(QDir::Files);
    const QString sent = QFileInfo(job.file).fileName();
    if (status != 0) {
        QVERIFY(!onServer.contains(sent));
        return;
    }
    QCOMPARE(onServer, QStringList{sent}); // renamed; request fetched
    QCOMPARE(test::readFile(job.local.filePath(QStringLiteral("K1_braki.kvr"))), "20260301\r\n");
    QCOMPARE(job.result.RequestsFetched, 1);
    // AUTH TLS at once: a server that knows no AUTH SSL would answer libcurl's default with 500.
    QCOMPARE(vsftpd.protocolLog().contains("\"AUTH SSL\""), false);
    QCOMPARE(vsftpd.protocolLog().contains("\"AUTH TLS\""), tls);
    for (int next = 2; next <= jobs; ++next) {
        request(next);
        job.result = {};
        job.send();
        QVERIFY2(job.result.Status == 0 && job.result.RequestsFetched == 1,
                 qPrintable(QStringLiteral("job %1: %2 %3")
                                .arg(next)
                                .arg(job.result.FailureReason, job.result.RequestListingFailure)));
    }
    QVERIFY(!QFile::exists(vsftpd.root() + QStringLiteral("/in/K1_braki.kvr")));
    QVERIFY2(!vsftpd.protocolLog().contains("\"522 "), "a data connection was refused");
}

QTEST_GUILESS_MAIN(TestCurlFtpClient)
#include "tst_curl_ftp_client.moc"
