#include "app/guarded_application.h"

#include <cstdio>
#include <stdexcept>

namespace tarvexio {

namespace {

std::function<void(const std::exception&)>& Report()
{
    static std::function<void(const std::exception&)> report;
    return report;
}

void ReportError(const std::exception& error)
{
    try {
        if (Report()) {
            Report()(error);
            return;
        }
    } catch (const std::exception& reportError) {
        std::fprintf(stderr, "%s\n", reportError.what());
    }
    std::fprintf(stderr, "%s\n", error.what());
}

} // namespace

void SetEventErrorReport(std::function<void(const std::exception&)> report)
{
    Report() = std::move(report);
}

bool DeliverGuarded(const std::function<bool()>& deliver)
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
