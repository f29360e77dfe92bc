#pragma once

#include <QByteArray>
#include <QString>

namespace tarvexio {

// Windows-1250, the code page of the data files and of stored passwords. Characters that it
// lacks become "?".
QByteArray toWindows1250(const QString& text);
QString fromWindows1250(const QByteArray& bytes);

} // namespace tarvexio
