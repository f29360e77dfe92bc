// tarvexio-screenshots: the windowed program's pages, windows, tray menu and message boxes as
// PNG files, for people to look at. It runs the real program on the default connection
// (TARVEXIO_BAZA, TARVEXIO_IDENT) in test mode and drives it as a user would.
#include "app/agent.h"
#include "app/process_entry.h"
#include "db/db_error.h"
#include "forms/guarded_application.h"
#include "forms/gui_dialogs.h"
#include "forms/windowed_agent.h"

#include <QAbstractButton>
#include <QDir>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>

using namespace tarvexio;

namespace {

// Steps run one after another on the event loop, so that modal windows can come and go.
class Shots {
public:
    Shots(QString folder, WindowedAgent& program)
        : folder_(std::move(folder))
        , program_(program)
    {}

    // The picture, and the window's title (no window manager draws it) on stdout.
    void save(const QPixmap& picture, const char* name, const QString& title = QString())
    {
        const QString path = QDir(folder_).filePath(QString::fromLatin1(name));
        if (!picture.save(path))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        else
            std::printf("%s\t%s\n", name, title.toUtf8().constData());
        std::fflush(stdout);
    }
    void screen(const char* name) { save(QGuiApplication::primaryScreen()->grabWindow(0), name); }
    void window(const char* name)
    {
        save(program_.window().grab(), name, program_.window().windowTitle());
    }
    void page(MainPage page, const char* name)
    {
        program_.agent().model().setPage(page);
        QTimer::singleShot(300, [this, name] { window(name); });
    }

    // Once a modal window (of that title, when one is given) shows up: its picture, then what
    // closes it.
    void whenModal(const char* name, const std::function<void(QWidget*)>& close,
                   const QString& title = QString())
    {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [this, poll, name, close, title] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible() ||
                (!title.isEmpty() && modal->windowTitle() != title))
                return;
            poll->stop();
            poll->deleteLater();
            QTimer::singleShot(400, modal, [this, modal, name, close] {
                save(modal->grab(), name, modal->windowTitle());
                if (close)
                    close(modal);
            });
        });
        poll->start(100);
    }

    void then(int delayMs, std::function<void()> step)
    {
        steps_.append({delayMs, std::move(step)});
    }
    void run()
    {
        if (next_ >= steps_.size()) {
            program_.agent().window().terminate(QStringLiteral("zdjęcia zrobione"));
            return;
        }
        const std::function<void()> step = steps_[next_].second;
        const int delay = steps_[next_++].first;
        QTimer::singleShot(delay, [this, step] {
            step();
            run();
        });
    }

private:
    QString folder_;
    WindowedAgent& program_;
    QList<QPair<int, std::function<void()>>> steps_;
    qsizetype next_ = 0;
};

void pressButton(QWidget* box, QMessageBox::StandardButton which)
{
    if (auto* message = qobject_cast<QMessageBox*>(box))
        message->button(which)->click();
}

// The pages, the code editor, the directory chooser, the transmission dialog and the tray menu.
void shootWindows(Shots& shots, WindowedAgent& program)
{
    Agent& agent = program.agent();
    Tfrm_main& window = program.window();
    const auto click = [&window](const char* name) {
        window.findChild<QAbstractButton*>(QLatin1StringView(name))->click();
    };
    shots.then(1500, [&shots] {
        shots.window("01-eksport.png");
        shots.screen("00-pulpit.png");
    });
    shots.then(100, [&shots] { shots.page(MainPage::FTP, "02-ftp.png"); });
    shots.then(600, [&shots] { shots.page(MainPage::Komunikaty, "03-komunikaty.png"); });
    shots.then(600, [&shots, &agent, click] {
        agent.model().setPage(MainPage::Eksport);
        shots.whenModal("04-kody-kvr.png", [](QWidget* editor) { editor->close(); });
        click("SBKodyKVR");
    });
    shots.then(300, [&shots, click] {
        shots.whenModal("05-katalog.png", [](QWidget* chooser) { chooser->close(); });
        click("SBKatalogEksportu");
    });
    shots.then(300, [&shots, &agent] {
        // The manual export of yesterday sends its files behind the transmission dialog.
        const QDate yesterday = QDate::currentDate().addDays(-1);
        agent.model().settings().DateTimePicker1 = yesterday;
        agent.model().settings().DateTimePicker2 = yesterday;
        shots.whenModal("06-transmisja.png", nullptr, QStringLiteral("Transmisja pliku"));
        agent.manualExport().eksportClick();
    });
    shots.then(300, [&shots, &window] {
        QMenu* menu = window.trayMenu();
        const QRect icon = window.trayIcon()->geometry();
        menu->popup(icon.isValid() ? icon.topLeft() - QPoint(0, menu->sizeHint().height())
                                   : window.geometry().center());
        QTimer::singleShot(400, [&shots, menu] {
            shots.save(menu->grab(), "07-menu-tray.png");
            shots.screen("08-pulpit-menu.png");
            menu->hide();
        });
    });
}

// Each kind of message box.
void shootBoxes(Shots& shots, Agent& agent, GuiDialogs& dialogs)
{
    shots.then(800, [&shots, &agent] {
        shots.whenModal("09-informacja.png",
                        [](QWidget* box) { pressButton(box, QMessageBox::Ok); });
        agent.upload().BtnTestPolaczeniaClick();
    });
    shots.then(300, [&shots, &agent] {
        shots.whenModal("10-uwaga-pytanie.png",
                        [](QWidget* box) { pressButton(box, QMessageBox::No); });
        agent.window().ZakocznczClick();
    });
    shots.then(300, [&shots, &dialogs] {
        shots.whenModal("11-uwaga.png", [](QWidget* box) { pressButton(box, QMessageBox::Ok); });
        dialogs.MsgBox({QStringLiteral("Odczyt konfiguracji z pliku nie powiódł się"),
                        QStringLiteral("Uwaga"), MessageButtons::Ok, MessageIcon::Exclamation});
    });
    shots.then(300, [&shots, &dialogs] {
        shots.whenModal("12-blad.png", [](QWidget* box) { pressButton(box, QMessageBox::Ok); });
        dialogs.ShowExceptionNow(EQMXDBError(
            QStringLiteral("Tabela konfiguracji Konfig jest niedostępna: no such table: Konfig")));
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QLoggingCategory::setFilterRules(QStringLiteral("tarvexio.*.debug=false"));
    GuardedApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvexio"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvexio"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarvexio-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    SystemPorts ports;
    GuiDialogs dialogs;
    WindowedAgent program({QStringLiteral("TEST")}, ports, dialogs);
    Shots shots(QString::fromLocal8Bit(argv[1]), program);
    Agent& agent = program.agent();
    shootWindows(shots, program);
    shootBoxes(shots, agent, dialogs);

    QObject::connect(&agent.window(), &WindowAndTray::terminateRequested, &application,
                     [] { QCoreApplication::exit(0); });
    program.start();
    shots.run();
    return QApplication::exec();
}
