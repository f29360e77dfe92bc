#include "send_files.h"

#include "agent_settings.h"
#include "app/agent_status.h"
#include "export/data_file_name.h"
#include "transport/ftp_send_job.h"

#include <QFileInfo>

#include <cstdio>

namespace tarvexio {

int sendFiles(AgentSettings& settings, const QStringList& files)
{
    for (const QString& file : files) {
        if (!QFileInfo(file).isFile()) {
            std::fprintf(stderr, "%s: no such file\n", file.toLocal8Bit().constData());
            return 2;
        }
    }
    const QString exchange = exchangeDirectory(settings.record().ParEksportDir);
    const TParametryFtp parameters = settings.ftpParameters();
    const TDmFtp::Ports ports = settings.ftpPorts();
    int failed = 0;
    for (const QString& file : files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        TFtpJobResult result;
        QString line = QFileInfo(path).fileName();
        if (TDmFtp::RunSendJob(nullptr, parameters, path, result, ports)) {
            recordSentByHand(exchange, path);
            line += QStringLiteral(": sent");
        } else {
            ++failed;
            line += QStringLiteral(": not sent");
            if (!result.FailureReason.isEmpty())
                line += QStringLiteral(": ") + result.FailureReason;
        }
        std::printf("%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    }
    return failed == 0 ? 0 : 1;
}

} // namespace tarvexio
