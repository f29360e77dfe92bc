#include "support/ftp_job_doubles.h"
#include "transport/network_manager_dial_up.h"

#include <QTest>

using namespace tarvexio;

class TestDialUp : public QObject {
    Q_OBJECT
private slots:
    void decisions_data();
    void decisions();
    void nmcliStatesAndSecrets();
};

void TestDialUp::decisions_data()
{
    QTest::addColumn<bool>("dialUpOn");
    QTest::addColumn<int>("active"); // -1: the enumeration fails
    QTest::addColumn<bool>("dialWorks");
    QTest::addColumn<QString>("states");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("calls");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* tag, bool on, int active, bool dialWorks, const char* states,
                        bool result, const char* calls, const char* message) {
        QTest::newRow(tag) << on << active << dialWorks << states << result << calls
                           << QString::fromUtf8(message);
    };
    const char* const failed = "Błąd ustanowienia połączenia modemowego";
    row("off", false, 0, true, "", true, "", "");
    row("another connection active", true, 1, true, "", true, "enumerate", "");
    row("dialled and connected", true, 0, true, "C", true, "enumerate, dial, status, hang up h1",
        "");
    row("connecting, then connected", true, 0, true, "OC", true,
        "enumerate, dial, status, status, hang up h1", "");
    row("dial fails", true, 0, false, "", false, "enumerate, dial, hang up h1", failed);
    row("disconnected while waiting", true, 0, true, "D", false,
        "enumerate, dial, status, hang up h1", failed);
    row("state unreadable counts as connected", true, 0, true, "?", true,
        "enumerate, dial, status, hang up h1", "");
    row("enumeration fails", true, -1, true, "", false, "enumerate",
        "Błąd odczytu aktywnych połączeń");
}

void TestDialUp::decisions()
{
    QFETCH(bool, dialUpOn);
    QFETCH(int, active);
    QFETCH(bool, dialWorks);
    QFETCH(QString, states);
    QFETCH(QString, message);
    test::ScriptedDialUpBackend backend;
    backend.active = active < 0 ? std::nullopt : std::optional<int>(active);
    backend.dialWorks = dialWorks;
    backend.states = states;
    test::FakeClock clock;
    test::RecordingFtpDialog dialog;
    TParametryFtp parameters;
    parameters.ParPbkCzyModem = dialUpOn ? 1 : 0;
    parameters.ParPbkEntry = QStringLiteral("Modem GSM");
    parameters.ParPbkUser = QStringLiteral("internet");
    parameters.ParPbkHaslo = QStringLiteral("tajne");

    DialUpConnection step(backend, clock);
    QTEST(step.DialUp(parameters, &dialog), "result");
    step.HangUpIfDialled();
    QTEST(backend.calls.join(QStringLiteral(", ")), "calls");
    if (backend.calls.contains(u"dial"))
        QCOMPARE(backend.dialledWith, QStringLiteral("|Modem GSM|internet|tajne"));
    QCOMPARE(dialog.captions, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dialog.boxes, dialog.captions);
    const bool hungUp = backend.calls.contains(QStringLiteral("hang up h1")) && message.isEmpty();
    QCOMPARE(clock.pauses.contains(DialUpConnection::PauseAfterHangUpMs), hungUp);
}

void TestDialUp::nmcliStatesAndSecrets()
{
    QString state;
    QStringList asked;
    QByteArray secretsSeen;
    NetworkManagerDialUp nm([&](const QStringList& arguments) {
        asked << arguments.join(u' ');
        if (arguments.contains(QStringLiteral("connection.type")))
            return NetworkManagerDialUp::Result{0, "gsm\n"};
        if (const qsizetype at = arguments.indexOf(QStringLiteral("passwd-file")); at >= 0)
            secretsSeen = test::readFile(arguments[at + 1]);
        if (arguments.contains(QStringLiteral("GENERAL.STATE")))
            return NetworkManagerDialUp::Result{0, state + u'\n'};
        return NetworkManagerDialUp::Result{0, QString()};
    });
    const auto dialled = nm.dial(QString(), QStringLiteral("Modem GSM"), QStringLiteral("u"),
                                 QStringLiteral("tajne"));
    QVERIFY(dialled.succeeded);
    QCOMPARE(dialled.handle, QStringLiteral("Modem GSM"));
    // nmcli gave up waiting: the link may still come up, so there is a handle to hang up.
    NetworkManagerDialUp timedOut([](const QStringList&) {
        return NetworkManagerDialUp::Result{3, {}};
    });
    const auto failed = timedOut.dial(QString(), QStringLiteral("Modem GSM"), {}, {});
    QVERIFY(!failed.succeeded);
    QCOMPARE(failed.handle, QStringLiteral("Modem GSM"));
    QCOMPARE(secretsSeen, QByteArray("gsm.password:tajne\n"));
    QVERIFY(!asked.join(u'\n').contains(u"tajne"));
    for (const auto& [text, expected] : {std::pair{"activated", DialUpBackend::State::Connected},
                                         {"activating", DialUpBackend::State::Other},
                                         {"deactivated", DialUpBackend::State::Disconnected},
                                         {"", DialUpBackend::State::Disconnected}}) {
        state = QString::fromLatin1(text);
        QCOMPARE(nm.Status(QStringLiteral("Modem GSM")), std::optional(expected));
    }
}

QTEST_GUILESS_MAIN(TestDialUp)
#include "tst_dial_up.moc"
