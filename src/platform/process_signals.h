#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvexio {

// POSIX signals as Qt signals in the event loop: SIGTERM and SIGINT end the agent in order (a
// service stop, Ctrl+C); SIGUSR1 asks it to do its work now (tarvexioctl send-now). Does
// nothing where there are no POSIX signals.
class ProcessSignals : public QObject {
    Q_OBJECT
public:
    explicit ProcessSignals(QObject* parent = nullptr);
    ~ProcessSignals() override;

signals:
    void terminationRequested();
    void workRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvexio
