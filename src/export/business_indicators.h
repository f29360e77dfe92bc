#pragma once

namespace tarvexio {

struct RunContext;

// The BIZ section (its record only when one of its six boxes is ticked) and IL_BIZ.
void writeBizSection(RunContext& run);

} // namespace tarvexio
