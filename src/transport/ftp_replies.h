#pragma once

#include <QByteArray>
#include <QList>

namespace tarvexio {

// The last line of every reply in a stream of server replies, in order. A reply is one line
// "ddd text", or a first line "ddd-text" followed by any lines up to the first that starts
// with the same code and a blank; the lines in between may look like anything, digits
// included.
QList<QByteArray> finalReplyLines(const QByteArray& replies);

} // namespace tarvexio
