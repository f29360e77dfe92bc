#pragma once

#include <QByteArray>
#include <QString>

namespace tarvexio {

// Windows-1250, the code page of the data files and of stored passwords. Characters that it
// lacks become "?".
QByteArray ToWindows1250(const QString& text);
QString FromWindows1250(const QByteArray& bytes);

} // namespace tarvexio
