#include "app/guarded_application.h"
#include "app/process_entry.h"
#include "forms/guarded_application.h"
#include "forms/gui_entry.h"

#include <QLoggingCategory>

#include <memory>

int main(int argc, char* argv[])
{
    if (const std::optional<int> done =
            tarvexio::prepareProcess(argc, argv, tarvexio::AgentProgram::Windowed))
        return *done;
    // Developer diagnostics stay quiet unless asked for with QT_LOGGING_RULES.
    QLoggingCategory::setFilterRules(QStringLiteral("tarvexio.*.debug=false"));
    const bool headless = tarvexio::headlessRequested();
    std::unique_ptr<QCoreApplication> application;
    if (headless)
        application = std::make_unique<tarvexio::GuardedCoreApplication>(argc, argv);
    else
        application = std::make_unique<tarvexio::GuardedApplication>(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvexio"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvexio"));

    const QStringList arguments = tarvexio::takeArguments(argc, argv);
    return headless ? tarvexio::runHeadless(arguments) : tarvexio::runWithWindows(arguments);
}
