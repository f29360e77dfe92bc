#include "transport/ftp_job_setup.h"

#include "transport/dial_up.h"

namespace tarvexio {

TDmFtp::Ports ftpJobPorts(std::function<std::unique_ptr<FtpClient>()> newClient, Clock& clock,
                          DialUpBackend& dialUp)
{
    return {std::move(newClient), clock, [&dialUp, &clock] {
                return std::make_unique<DialUpConnection>(dialUp, clock);
            }};
}

TParametryFtp ftpJobParameters(const TKonfigEksportu& record, const QString& exchangeDirectory)
{
    TParametryFtp parameters = record.ftp;
    parameters.ParFolderLokalFTP = exchangeDirectory;
    return parameters;
}

} // namespace tarvexio
