#include "app/guarded_application.h"

#include <cstdio>
#include <stdexcept>

namespace tarvexio {

namespace {

std::function<void(const std::exception&)>& installedReport()
{
    static std::function<void(const std::exception&)> report;
    return report;
}

void ReportError(const std::exception& error)
{
    try {
        if (installedReport()) {
            installedReport()(error);
            return;
        }
    } catch (const std::exception& reportError) {
        std::fprintf(stderr, "%s\n", reportError.what());
    }
    std::fprintf(stderr, "%s\n", error.what());
}

} // namespace

void setEventErrorReport(std::function<void(const std::exception&)> report)
{
    installedReport() = std::move(report);
}

bool deliverGuarded(const std::function<bool()>& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        ReportError(error);
    } catch (...) {
        ReportError(std::runtime_error("Nieznany błąd"));
    }
    return false;
}

} // namespace tarvexio
