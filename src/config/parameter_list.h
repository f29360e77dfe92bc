#pragma once

#include <QStringList>

namespace tarvexio {

class TKonfigEksportu;

// The record as parameter lines, in the fixed order both stores keep, passwords coded.
QStringList writeParameterList(const TKonfigEksportu& record);

// Applies parameter lines to the record: exact names, empty values skipped, malformed numbers
// replaced by their fallbacks, KVR codes by the shop id after "#", later lines winning.
void readParameterList(const QStringList& lines, TKonfigEksportu& record);

} // namespace tarvexio
