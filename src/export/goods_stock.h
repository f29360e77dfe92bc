#pragma once

namespace tarvexio {

struct RunContext;

// The goods of the day, for the TOW section (IL_TOW is the goods set's size).
void openGoodsData(RunContext& run);
// Reads stock only for data dates at most 7 days before today.
void openStockData(RunContext& run);
// Goods that moved on the day, and goods in stock while "ilość w sklepie" is ticked.
void buildGoodsSet(RunContext& run);
void writeTowSection(RunContext& run);
void writeMagSection(RunContext& run);

} // namespace tarvexio
