#pragma once

#include <QCoreApplication>

#include <exception>
#include <functional>

namespace tarvexio {

// Qt cannot carry an exception through its event loop (the process would abort). An exception
// that leaves an event handler is reported here instead, and the loop goes on: the windowed
// program shows it, the headless one logs it. Until a report is set, it goes to stderr.
void setEventErrorReport(std::function<void(const std::exception&)> report);

// Delivers one event; an exception that leaves its handler is reported, not passed on.
bool deliverGuarded(const std::function<bool()>& deliver);

class GuardedCoreApplication final : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        return deliverGuarded([&] { return QCoreApplication::notify(receiver, event); });
    }
};

} // namespace tarvexio
