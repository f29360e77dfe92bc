#pragma once

#include <QString>

namespace tarvexio {

// A request file is named by a shop's code and this; the server's are matched by containing it.
inline const QString RequestFileSuffix = QStringLiteral("_braki.kvr");

// A request file fetched from the server joins the local file of its name, which may still
// hold days waiting to be handled: its lines that are not there yet are added at the end, in
// their order; blank lines are dropped. The fetched file is removed. Raises EFtpError when the
// local file cannot be read or written; it is then left as it was.
void MergeFetchedRequestFile(const QString& fetchedPath, const QString& localPath);

} // namespace tarvexio
