#pragma once

#include "config/settings_record.h"
#include "transport/ftp_send_job.h"

#include <QStringList>

namespace tarvexio {

// The settings window's connection test, its rows as lines ("Łączenie z 127.0.0.1: OK"), the
// login folder's listing, and the result line, as the operator's tool shows them.
struct ConnectionTestReport {
    bool succeeded = false;
    QStringList lines;
};

ConnectionTestReport runConnectionTestReport(const TParametryFtp& parameters,
                                             const TDmFtp::Ports& ports);

} // namespace tarvexio
