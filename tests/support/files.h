#pragma once

#include <QByteArray>
#include <QString>

namespace tarvexio::test {

// The whole file; empty when it cannot be read.
QByteArray ReadFile(const QString& path);
// Creates or replaces the file; raises std::runtime_error when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);

} // namespace tarvexio::test
