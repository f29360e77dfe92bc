#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvexio {

// SIGTERM and SIGINT reach the event loop as a signal, so the agent ends in order (a
// service stop, Ctrl+C). Does nothing where there are no POSIX signals.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tarvexio
