#pragma once

#include "export/run_context.h"

#include <QString>

namespace tarvexio {

// What the caller decides of an export: where the files go, which figures may leave the chain,
// and whether anyone is there to answer a box. The shops and their codes come with the record.
struct ExportSettings {
    QString directory; // as typed; one trailing separator does not count
    ConsentBoxes consent{};
    bool unattended = false;
};

} // namespace tarvexio
