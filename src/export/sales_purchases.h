#pragma once

#include <QString>

namespace tarvexio {

struct RunContext;

// The SPR and ZAK sections and the counts IL_SPR and IL_ZAK.
void OpenSalesData(RunContext& run);
void OpenPurchaseData(RunContext& run);
void WriteSprSection(RunContext& run);
void WriteZakSection(RunContext& run);

// Digits only, a letter O read as 0, at most 10 ("PL 526-000-12-46" gives "5260001246").
QString ReducedTaxNumber(const QString& nip);

} // namespace tarvexio
