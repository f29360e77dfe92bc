#pragma once

#include <QIcon>
#include <QTimer>
#include <QWidget>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace Ui {
class Tfrm_main;
}

namespace tarvexio {

class Agent;

// The main window: its pages and the tray icon mirror the window model, and its events call
// the agent's operations. Without a notification area the window is minimised where it would
// hide, so that it stays reachable.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientHeight = 505;
    static constexpr int BlinkIntervalMs = 1000;

    explicit Tfrm_main(Agent& agent, QWidget* parent = nullptr);
    Tfrm_main(Agent& agent, bool notificationArea, QWidget* parent = nullptr);
    ~Tfrm_main() override;

    QSystemTrayIcon* trayIcon() const { return tray_; }
    QMenu* trayMenu() const { return trayMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void syncFromModel();
    void syncSettingsFromModel();
    void bindSettings();
    void appendPaneLine(const QString& line);
    void createTray();
    void createButtonBars();
    void TrayTimerTimer();

    Agent& agent_;
    std::unique_ptr<Ui::Tfrm_main> ui_;
    bool notificationArea_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* komunikaty_ = nullptr;
    QAction* przywroc_ = nullptr;
    QAction* zakoncz_ = nullptr;
    QIcon icon_;
    QIcon blank_;
    QTimer TrayTimer;
    bool blankShown_ = false;
};

} // namespace tarvexio
