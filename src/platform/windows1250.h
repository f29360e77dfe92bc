#pragma once

#include <QByteArray>
#include <QString>

namespace tarvexio {

// Windows-1250, the code page of the data files and of stored passwords. Characters that it
// lacks become "?".
QByteArray ToWindows1250(const QString& text);
// The same into a buffer that is reused, so that a plain ASCII line costs no allocation.
void ToWindows1250(const QString& text, QByteArray& bytes);
QString FromWindows1250(const QByteArray& bytes);

} // namespace tarvexio
