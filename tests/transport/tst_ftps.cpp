// The FTP job against a server nobody here wrote, Debian's vsftpd: plain, and with explicit
// TLS ("ftps://host" in the settings).
#include "support/fake_clock.h"
#include "support/files.h"
#include "support/vsftpd.h"
#include "transport/curl_ftp_client.h"
#include "transport/dial_up_step.h"
#include "transport/tdm_ftp.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

class NoDialUp final : public DialUpStep {
public:
    bool DialUp(const TParametryFtp&, FtpJobDialog*) override { return true; }
    void HangUpIfDialled() override {}
};

} // namespace

class TestFtps : public QObject {
    Q_OBJECT
private slots:
    void sendJob_data();
    void sendJob();
};

void TestFtps::sendJob_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("trusted"); // the certificate's authority is named
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("plain FTP") << false << "127.0.0.1" << false << 0 << "";
    QTest::newRow("TLS, certificate verified") << true << "ftps://127.0.0.1" << true << 0 << "";
    QTest::newRow("TLS, certificate not verified")
        << true << "ftps://127.0.0.1" << false << -1 << "certificate";
    QTest::newRow("a server that wants TLS, asked without")
        << true << "127.0.0.1" << true << -1 << "530";
}

void TestFtps::sendJob()
{
    QFETCH(bool, tls);
    QFETCH(QString, server);
    QFETCH(bool, trusted);
    QFETCH(int, status);
    QFETCH(QString, reason);
    test::Vsftpd vsftpd(tls);
    if (!vsftpd.failure().isEmpty())
        QSKIP(qPrintable(vsftpd.failure()));
    test::WriteFile(vsftpd.root() + "/in/K1_braki.kvr", "20260305\r\n");
    QFile::setPermissions(vsftpd.root() + "/in/K1_braki.kvr",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    if (trusted)
        qputenv("TARVEXIO_CA_FILE", vsftpd.certificate().toUtf8());
    const auto untrust = qScopeGuard([] { qunsetenv("TARVEXIO_CA_FILE"); });

    QTemporaryDir local;
    const QString file = local.filePath(QStringLiteral("PSHD_K1_HD0001_20260310_080910.DAT"));
    test::WriteFile(file, QByteArray(100000, 'd'));
    TParametryFtp parameters;
    parameters.ParSerwerFTP = server;
    parameters.ParPortFTP = vsftpd.port();
    parameters.ParUserFTP = QStringLiteral("anonymous");
    parameters.ParFolderFTP = QStringLiteral("in");
    parameters.ParFolderLokalFTP = local.path();
    test::FakeClock clock;
    TFtpJobResult result;
    const TDmFtp::Ports ports{[] { return std::make_unique<CurlFtpClient>(); }, clock,
                              [] {
                                  return std::make_unique<NoDialUp>();
                              }};
    TDmFtp::RunSendJob(nullptr, parameters, file, result, ports);

    QCOMPARE(result.Status, status);
    QVERIFY2(result.FailureReason.contains(reason), qPrintable(result.FailureReason));
    const QStringList onServer = QDir(vsftpd.root() + "/in").entryList(QDir::Files);
    if (status != 0) {
        QVERIFY(!onServer.contains(QFileInfo(file).fileName()));
        return;
    }
    QCOMPARE(onServer, QStringList{QFileInfo(file).fileName()}); // renamed; request fetched
    QCOMPARE(test::ReadFile(local.filePath(QStringLiteral("K1_braki.kvr"))), "20260305\r\n");
    QCOMPARE(result.RequestsFetched, 1);
    QStringList verbs;
    for (const QString& command : vsftpd.commands())
        verbs << command.section(u' ', 0, 0).toUpper();
    for (const char* verb : {"STOR", "RNFR", "RNTO", "NLST", "SIZE", "RETR", "DELE"})
        QVERIFY2(verbs.contains(QLatin1StringView(verb)), verb);
    QCOMPARE(verbs.contains(QStringLiteral("AUTH")), tls);
}

QTEST_GUILESS_MAIN(TestFtps)
#include "tst_ftps.moc"
