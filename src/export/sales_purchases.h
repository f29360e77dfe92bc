#pragma once

#include <QString>

namespace tarvexio {

struct RunContext;

// The SPR and ZAK sections and the counts IL_SPR and IL_ZAK.
void openSalesData(RunContext& run);
void openPurchaseData(RunContext& run);
void writeSprSection(RunContext& run);
void writeZakSection(RunContext& run);

// Digits only, a letter O read as 0, at most 10 ("PL 526-000-12-46" gives "5260001246").
QString reducedTaxNumber(const QString& nip);

} // namespace tarvexio
