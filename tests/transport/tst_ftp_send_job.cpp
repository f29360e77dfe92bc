#include "support/files.h"
#include "support/ftp_job_doubles.h"
#include "support/ftp_server.h"
#include "transport/curl_ftp_client.h"
#include "transport/ftp_send_job.h"
#include "transport/transmission_link.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace tarvexio;
using test::readFile;
using test::writeFile;

namespace {

// A server that speaks Windows-1250 on the wire, with a folder of Polish letters.
struct Harness : test::FtpJob {
    explicit Harness(const QStringList& faults = {})
        : server(QStringList{"--encoding", "cp1250", "--password", "hasło żółw"} + faults)
    {
        QDir(server.root()).mkdir(QStringLiteral("Łódź"));
        parameters.ParPortFTP = server.port();
        parameters.ParHasloFTP = QStringLiteral("hasło żółw");
        parameters.ParFolderFTP = QStringLiteral("Łódź");
    }
    QString remote(const QString& name = QString()) const
    {
        return server.root() + QStringLiteral("/Łódź/") + name;
    }
    void request(const QString& name, const QByteArray& content)
    {
        writeFile(remote(name), content);
    }

    test::FtpServer server;
};

} // namespace

class TestTDmFtp : public QObject {
    Q_OBJECT
private slots:
    void sendsAndFetches();
    void connectionTest_data();
    void connectionTest();
    void faults_data();
    void faults();
    void deliveryCheckedOnTheServer_data();
    void deliveryCheckedOnTheServer();
    void requestFaults_data();
    void requestFaults();
    void silentServerEndsTheJob();
    void abort_data();
    void abort();
    void dialogShowsInTheOrderPosted_data();
    void dialogShowsInTheOrderPosted();
};

void TestTDmFtp::sendsAndFetches()
{
    // A proxy in the environment is not used: these point at nothing.
    qputenv("ALL_PROXY", "http://127.0.0.1:9");
    qputenv("ftp_proxy", "http://127.0.0.1:9");
    const auto noProxy = qScopeGuard([] {
        qunsetenv("ALL_PROXY");
        qunsetenv("ftp_proxy");
    });
    Harness h;
    QVERIFY(h.server.started());
    h.request(QStringLiteral("K1_braki.kvr"), QByteArray(50000, 'r'));
    // Days still waiting here keep their place; the server's new ones join them once.
    h.request(QStringLiteral("Żabka_braki.kvr"), "20260302\r\n\r\n20260228 x\r\n");
    writeFile(h.local.filePath(QStringLiteral("Żabka_braki.kvr")), "20260301\r\n20260302\r\n");
    h.request(QStringLiteral("inny.txt"), "not a request");
    // What an upload cut short left: this shop's goes, another shop's stays.
    h.request(QStringLiteral("PSHD_K1_HD0001_20260309_070000.DAT.tmp"), "cut short");
    h.request(QStringLiteral("PSHD_K12_HD0001_20260309_070000.DAT.tmp"), "another shop");

    QVERIFY(h.send());
    QCOMPARE(h.result.Status, 0);
    QCOMPARE(h.result.RequestsFound, 2);
    QCOMPARE(h.result.RequestsFetched, 2);
    QCOMPARE(readFile(h.remote("PSHD_K1_HD0001_20260310_080910.DAT")), QByteArray(300000, 'd'));
    QCOMPARE(readFile(h.local.filePath(QStringLiteral("K1_braki.kvr"))),
             QByteArray(50000, 'r') + "\r\n");
    QCOMPARE(readFile(h.local.filePath(QStringLiteral("Żabka_braki.kvr"))),
             "20260301\r\n20260302\r\n20260228 x\r\n");
    QCOMPARE(QDir(h.local.path()).entryList(QDir::Files).size(), 3); // no partial copy left
    QCOMPARE(QDir(h.remote()).entryList(QDir::Files),
             (QStringList{"inny.txt", "PSHD_K12_HD0001_20260309_070000.DAT.tmp",
                          "PSHD_K1_HD0001_20260310_080910.DAT"}));
    QCOMPARE(h.result.StaleTemporaryRemoved, 1);
    QCOMPARE(h.result.DeliveredSize, 300000);
    const QStringList commands = h.server.commands();
    QCOMPARE(commands.mid(0, 12),
             (QStringList{"USER tarvexio", "PASS", "CWD Łódź", "TYPE A", "NLST",
                          "DELE PSHD_K1_HD0001_20260309_070000.DAT.tmp", "TYPE I",
                          "STOR PSHD_K1_HD0001_20260310_080910.DAT.tmp",
                          "RNFR PSHD_K1_HD0001_20260310_080910.DAT.tmp",
                          "RNTO PSHD_K1_HD0001_20260310_080910.DAT",
                          "SIZE PSHD_K1_HD0001_20260310_080910.DAT", "TYPE A"}));
    QCOMPARE(commands.mid(12),
             (QStringList{"NLST", "SIZE K1_braki.kvr", "TYPE I", "RETR K1_braki.kvr",
                          "DELE K1_braki.kvr", "SIZE Żabka_braki.kvr", "TYPE I",
                          "RETR Żabka_braki.kvr", "DELE Żabka_braki.kvr", "QUIT"}));
    QCOMPARE(h.dialog.rows, (QStringList{"Łączenie z internetem|OK", "Łączenie z 127.0.0.1|OK",
                                         "Wysyłanie pliku: PSHD_K1_HD0001_20260310_080910.DAT|OK",
                                         "Pobieranie pliku: K1_braki.kvr|OK",
                                         "Pobieranie pliku: Żabka_braki.kvr|OK"}));
    QVERIFY(h.dialog.percents.contains(QStringLiteral("100 %")));
    QCOMPARE(h.dialog.captions.back(), "Plik pobrano");
    QVERIFY(h.dialog.abortHidden);
    QCOMPARE(h.clock.pauses.back(), TDmFtp::PauseAfterJobMs);
}

void TestTDmFtp::connectionTest_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason"); // the server's own words, not libcurl's
    const QString password = QStringLiteral("hasło żółw");
    const QStringList none;
    QTest::newRow("reached the folder") << none << password << "Łódź" << 0 << "";
    QTest::newRow("the login folder: no CWD") << none << password << "./" << 0 << "";
    QTest::newRow("wrong password") << none << QStringLiteral("haslo") << "Łódź" << -1
                                    << "FTP login: 530 Authentication failed.";
    QTest::newRow("listing refused")
        << QStringList{"--refuse", "NLST"} << password << "Łódź" << -1 << "FTP NLST: 550 ";
    QTest::newRow("folder missing") << none << password << "brak" << -100 << "FTP CWD: 550 ";
}

void TestTDmFtp::connectionTest()
{
    QFETCH(QStringList, faults);
    QFETCH(QString, password);
    QFETCH(QString, folder);
    QFETCH(int, status);
    Harness h(faults);
    h.parameters.ParHasloFTP = password;
    h.parameters.ParFolderFTP = folder;
    h.parameters.ParPbkCzyModem = 1; // dialled on the test's service: hung up, failed or not
    const bool succeeded = TDmFtp::RunConnectionTest(nullptr, h.parameters, h.result, h.ports());
    QCOMPARE(h.result.Status, status);
    QCOMPARE(succeeded, status == 0);
    QFETCH(QString, reason);
    QCOMPARE(h.result.FailureReason.left(reason.size()), reason);
    QCOMPARE(h.dialUp.calls.join(u','), QStringLiteral("enumerate,dial,status,hang up h1"));
    const QStringList commands = h.server.commands();
    QVERIFY(commands.filter(QStringLiteral("STOR")).isEmpty());
    if (status == 0)
        QCOMPARE(commands.filter(QStringLiteral("CWD")).isEmpty(), folder == u"./");
}

void TestTDmFtp::faults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("finalTexts"); // %1 the local path
    QTest::addColumn<bool>("temporaryLeft");
    const QString sendFailed = QStringLiteral("Błąd wysyłania pliku %1");
    const QStringList renameFailed{
        "Nie powiodła się zmiana nazwy pliku: PSHD_K1_HD0001_20260310_080910.DAT.tmp", sendFailed};
    const auto row = [&](const char* tag, const char* option, const char* command,
                         bool temporaryLeft) {
        QTest::newRow(tag) << QStringList{option, command}
                           << (temporaryLeft ? renameFailed : QStringList{sendFailed})
                           << temporaryLeft;
    };
    QTest::newRow("CWD refused") << QStringList{"--refuse", "CWD"}
                                 << QStringList{"Błąd zmiany lub tworzenia katalogu Łódź"} << false;
    row("STOR refused", "--refuse", "STOR", false);
    row("dropped at STOR", "--drop", "STOR", false);
    row("RNTO refused", "--refuse", "RNTO", true);
    // libcurl would log in again behind the job's back, in the login folder.
    row("closed after STOR's reply", "--close-after", "STOR", true);
    row("closed after CWD's reply", "--close-after", "CWD", false);
}

void TestTDmFtp::faults()
{
    QFETCH(QStringList, faults);
    QFETCH(QStringList, finalTexts);
    QFETCH(bool, temporaryLeft);
    Harness h(faults);
    h.request(QStringLiteral("K1_braki.kvr"), "x");
    QVERIFY(!h.send());
    QCOMPARE(h.result.Status, -1);
    finalTexts.replaceInStrings(QStringLiteral("%1"), h.file);
    QCOMPARE(h.dialog.finalTexts, finalTexts);
    QCOMPARE(h.dialog.captions.back(), "Operacja nie powiodła się");
    QVERIFY(!h.result.FailureReason.isEmpty() && !h.result.FailureReason.contains(u"żółw"));
    QCOMPARE(QFile::exists(h.remote("PSHD_K1_HD0001_20260310_080910.DAT.tmp")), temporaryLeft);
    QVERIFY(!QFile::exists(h.remote("PSHD_K1_HD0001_20260310_080910.DAT")));
    QCOMPARE(QDir(h.server.root()).entryList(QDir::Files), QStringList()); // the login folder
    QCOMPARE(h.server.commands().filter(QStringLiteral("USER")).size(), 1);
    // A failed send disconnects; the request files wait for a later job.
    QVERIFY(QFile::exists(h.remote("K1_braki.kvr")));
}

void TestTDmFtp::deliveryCheckedOnTheServer_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause"); // empty: delivered
    QTest::addColumn<qint64>("serverSize");
    QTest::newRow("cut after RNTO") << "--cut-after-rnto"
                                    << "ma na serwerze 150000 B zamiast 300000 B" << qint64(-1);
    QTest::newRow("gone after RNTO") << "--lose-after-rnto"
                                     << "nie ma go na serwerze" << qint64(-1);
    // Where SIZE is refused the listing must name the file.
    QTest::newRow("SIZE refused") << "--refuse=SIZE" << QString() << qint64(-1);
}

void TestTDmFtp::deliveryCheckedOnTheServer()
{
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    QFETCH(qint64, serverSize);
    Harness h({fault});
    QCOMPARE(h.send(), cause.isEmpty());
    QVERIFY2(cause.isEmpty() ? h.result.FailureReason.isEmpty()
                             : h.result.FailureReason.contains(cause),
             qPrintable(h.result.FailureReason));
    QCOMPARE(h.result.DeliveredSize, serverSize);
}

void TestTDmFtp::requestFaults_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("names"); // request files on the server
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QStringList>("fetched"); // copies in the local folder
    QTest::addColumn<QStringList>("left");    // still on the server
    QTest::addColumn<QStringList>("listed");  // names listed that no file of the folder holds
    const QStringList all{"A_braki.kvr", "B_braki.kvr", "C_braki.kvr"};
    const QStringList none;
    // A request that cannot be fetched, saved or deleted stays on the server, named in the
    // result; the data file has gone all the same.
    QTest::newRow("the second of three downloads refused")
        << QStringList{"--refuse", "RETR:2"} << all << true
        << QStringList{"A_braki.kvr", "C_braki.kvr"} << QStringList{"B_braki.kvr"} << none;
    // The listing for requests is tried once more, after a new login where the first attempt
    // cost the connection.
    QTest::newRow("the connection lost at the listing")
        << QStringList{"--drop", "NLST:2"} << all << true << all << none << none;
    QTest::newRow("deletes refused: the downloads count")
        << QStringList{"--refuse", "DELE"} << all << true << all << all << none;
    QTest::newRow("a request that cannot be saved here")
        << QStringList{"--save-blocked", "B_braki.kvr"} << all << true
        << QStringList{"A_braki.kvr", "C_braki.kvr"} << QStringList{"B_braki.kvr"} << none;
    // Names that would leave the local folder or cannot be saved on Windows stay on the server.
    const QStringList hostile{"..\\y_braki.kvr", "a:b_braki.kvr",  "c*_braki.kvr",
                              "d?_braki.kvr",    "e\tf_braki.kvr", "g\\h_braki.kvr"};
    QTest::newRow("names refused") << QStringList{} << hostile + QStringList{"K1_braki.kvr"} << true
                                   << QStringList{"K1_braki.kvr"} << hostile << none;
    // A path in a listed name, absolute (%1 a folder beside the local one) or nested.
    QTest::newRow("names with a path")
        << QStringList{} << QStringList{"K1_braki.kvr"} << true << QStringList{"K1_braki.kvr"}
        << none << QStringList{"%1/Z_braki.kvr", "sub/Y_braki.kvr", "./X_braki.kvr"};
}

void TestTDmFtp::requestFaults()
{
    QFETCH(QStringList, faults);
    QFETCH(QStringList, names);
    QFETCH(QStringList, fetched);
    QFETCH(QStringList, left);
    QFETCH(QStringList, listed);
    const QTemporaryDir outside;
    listed.replaceInStrings(QStringLiteral("%1"), outside.path());
    for (const QString& name : std::as_const(listed))
        faults << QStringLiteral("--list-extra") << name;
    // Not a server fault: the local file of that name is a folder, so it cannot be saved.
    const bool blockLocally = faults.value(0) == u"--save-blocked";
    Harness h(blockLocally ? QStringList{} : faults);
    if (blockLocally)
        QDir(h.local.path()).mkdir(faults.value(1));
    for (const QString& name : names)
        h.request(name, name.toUtf8());
    QTEST(h.send(), "sent");
    QCOMPARE(h.result.RequestsFound, names.size() + listed.size());
    QCOMPARE(h.result.RequestsFetched, fetched.size());
    QCOMPARE(h.result.RequestsLeft.size(), left.size() + listed.size());
    const QStringList requests{QStringLiteral("*_braki.kvr")};
    QCOMPARE(QDir(h.local.path()).entryList(requests, QDir::Files), fetched);
    // Nothing written outside the local folder, nor below it.
    QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
    QCOMPARE(QDir(h.local.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             blockLocally ? QStringList{faults.value(1)} : QStringList{});
    QCOMPARE(QDir(h.remote()).entryList(requests, QDir::Files | QDir::Hidden), left);
}

void TestTDmFtp::silentServerEndsTheJob()
{
    Harness h({"--hang"});
    h.timeouts = {std::chrono::seconds(2), std::chrono::seconds(2), std::chrono::seconds(2)};
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!h.send());
    QVERIFY(clock.elapsed() < 15000);
    QCOMPARE(h.result.Status, -1);
    QVERIFY(h.dialog.rows.back().endsWith(u"|..."));
}

void TestTDmFtp::abort_data()
{
    QTest::addColumn<int>("stopAtRow");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lastCaptions");
    QTest::addColumn<QStringList>("left"); // on the server
    const QString aborted = QStringLiteral("Operacja przerwana przez użytkownika");
    QTest::newRow("during the upload")
        << 0 << 100 << QStringList{aborted} << QStringList{"A_braki.kvr", "B_braki.kvr"};
    // Only a sized transfer sees the button: the second download (the first has no size, the
    // server answers none while the listing's ASCII mode holds). The job then tells it failed.
    QTest::newRow("during a download")
        << 5 << -1 << QStringList{aborted, "Operacja nie powiodła się"}
        << QStringList{"B_braki.kvr", "PSHD_K1_HD0001_20260310_080910.DAT"};
}

void TestTDmFtp::abort()
{
    QFETCH(QStringList, lastCaptions);
    Harness h;
    h.request(QStringLiteral("A_braki.kvr"), "a");
    h.request(QStringLiteral("B_braki.kvr"), QByteArray(500000, 'b'));
    QFETCH(int, stopAtRow);
    h.dialog.stopAtRow = stopAtRow;
    QVERIFY(!h.send());
    QTEST(h.result.Status, "status");
    QCOMPARE(h.dialog.captions.mid(h.dialog.captions.size() - lastCaptions.size()), lastCaptions);
    QTEST(QDir(h.remote()).entryList(QDir::Files), "left");
}

void TestTDmFtp::dialogShowsInTheOrderPosted_data()
{
    // What a job posts, a step each ("row a", "status OK", "box m", "progress 42", "final t"),
    // and what the dialog then shows: "rows|bar|boxes|final text", rows as operation=status,
    // each box with the rows standing when it came up.
    QTest::addColumn<QStringList>("posted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a status goes to the last row; the last final text counts")
        << QStringList{"row a", "status OK", "row b", "status 42 %", "final first", "final second"}
        << "a=OK,b=42 %|-1||second";
    QTest::newRow("a status before any row changes nothing; a box after what came before")
        << QStringList{"status OK", "row a", "box dial", "status OK"} << "a=OK|-1|dial: a=...|";
    QTest::newRow("the bar within 0 to 100")
        << QStringList{"progress 42", "progress 100"} << "|100||";
    QTest::newRow("a bar past 100 hides") << QStringList{"progress 42", "progress 101"} << "|-1||";
}

void TestTDmFtp::dialogShowsInTheOrderPosted()
{
    QFETCH(QStringList, posted);
    TransmissionView view;
    const auto shownRows = [&view] {
        QStringList rows;
        for (const auto& [operation, status] : std::as_const(view.rows))
            rows << operation + u'=' + status;
        return rows.join(u',');
    };
    QStringList boxes;
    TransmissionLink link(
        [&](const QString& text) { boxes << text + QStringLiteral(": ") + shownRows(); });
    for (const QString& step : posted) {
        const QString what = step.section(u' ', 0, 0);
        const QString value = step.section(u' ', 1);
        if (what == u"row")
            link.QueueMessage(value, QStringLiteral("..."), FtpJobDialog::MsgAddRow);
        else if (what == u"status")
            link.QueueMessage(QString(), value, FtpJobDialog::MsgSetStatus);
        else if (what == u"box")
            link.MsgBox(value);
        else if (what == u"progress")
            link.SetProgress(value.toInt());
        else if (what == u"final")
            link.QueueMessage(value, QString(), FtpJobDialog::MsgFinalError);
    }
    QVERIFY(link.drain(view));
    QTEST(QStringList({shownRows(), QString::number(view.progress), boxes.join(u';'),
                       link.finalMessage().value_or(QString())})
              .join(u'|'),
          "shown");
    QVERIFY(!link.drain(view)); // nothing twice
}

QTEST_GUILESS_MAIN(TestTDmFtp)
#include "tst_ftp_send_job.moc"
