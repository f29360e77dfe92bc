#pragma once

#include "app/guarded_application.h"

#include <QApplication>

namespace tarvexio {

// QApplication whose event handlers' exceptions are reported instead of aborting the process.
class GuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        return deliverGuarded([&] { return QApplication::notify(receiver, event); });
    }
};

} // namespace tarvexio
