#pragma once

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
// the agent's operations.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_main(Agent& agent, QWidget* parent = nullptr);
    ~Tfrm_main() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void syncFromModel();
    void appendPaneLine(const QString& line);
    void createTray();
    void createButtonBar();

    Agent& agent_;
    std::unique_ptr<Ui::Tfrm_main> ui_;
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* trayMenu_ = nullptr;
    QAction* komunikaty_ = nullptr;
    QAction* przywroc_ = nullptr;
    QAction* zakoncz_ = nullptr;
};

} // namespace tarvexio
