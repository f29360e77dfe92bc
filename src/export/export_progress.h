#pragma once

#include <QString>

#include <functional>

namespace tarvexio {

// The two text lines and the percentage of the window that shows an export run.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    virtual void UstawTekst1(const QString& text) = 0;
    virtual void UstawTekst2(const QString& text) = 0;
    virtual void UstawProgress(int percent) = 0;
};

// Shows a modal progress window while work runs and closes it afterwards, also when the work
// throws (the error then passes on to the caller).
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void Pokaz(const std::function<void(ExportProgress*)>& work) = 0;
};

} // namespace tarvexio
