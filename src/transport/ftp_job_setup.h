#pragma once

#include "config/settings_record.h"
#include "transport/ftp_send_job.h"

#include <functional>
#include <memory>

namespace tarvexio {

class Clock;
class DialUpBackend;
class FtpClient;

// What every FTP job of the agent and its tools is built from: a fresh client for each job, the
// clock, and a dial-up step of its own on the system's backend.
TDmFtp::Ports ftpJobPorts(std::function<std::unique_ptr<FtpClient>()> newClient, Clock& clock,
                          DialUpBackend& dialUp);

// A job's parameters: the record's FTP settings, the request files it fetches landing in the
// exchange directory.
TParametryFtp ftpJobParameters(const TKonfigEksportu& record, const QString& exchangeDirectory);

} // namespace tarvexio
