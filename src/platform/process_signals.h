#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvexio {

// POSIX signals as Qt signals in the event loop: SIGTERM and SIGINT end the agent in order (a
// service stop, Ctrl+C); SIGHUP asks it to read its settings again (systemctl reload); SIGUSR1,
// which no one needs to send it any more, is ignored. Does nothing where there are no POSIX
// signals.
class ProcessSignals : public QObject {
    Q_OBJECT
public:
    explicit ProcessSignals(QObject* parent = nullptr);
    ~ProcessSignals() override;

signals:
    // signalName: "SIGTERM" or "SIGINT".
    void terminationRequested(const QString& signalName);
    void reloadRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvexio
