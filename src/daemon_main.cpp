// tarvexiod: the agent without windows, on the core alone (the service's program).
#include "app/guarded_application.h"
#include "app/process_entry.h"

#include <QLoggingCategory>

int main(int argc, char* argv[])
{
    if (const std::optional<int> done =
            tarvexio::prepareProcess(argc, argv, tarvexio::AgentProgram::Daemon))
        return *done;
    QLoggingCategory::setFilterRules(QStringLiteral("tarvexio.*.debug=false"));
    tarvexio::GuardedCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Tarvexio"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvexio"));
    return tarvexio::runHeadless(tarvexio::takeArguments(argc, argv));
}
