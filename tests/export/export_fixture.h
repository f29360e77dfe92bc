#pragma once

#include <QDate>
#include <QStringList>

namespace tarvexio::test {

// A small chain whose every figure on 10 March 2026 was worked out by hand (see the test's
// expected lines): three shops, seven goods, documents of every kind, receipts around midnight.
const QDate FixtureDay(2026, 3, 10);

QStringList fixtureStatements();

} // namespace tarvexio::test
