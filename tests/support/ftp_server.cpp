#include "support/ftp_server.h"
#include "support/files.h"

#include <QTcpServer>

namespace tarvexio::test {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

FtpServer::FtpServer(const QStringList& faults)
{
    process_.setProgram(QStringLiteral("/usr/bin/python3"));
    process_.setArguments(QStringList{qEnvironmentVariable("TARVEXIO_FTP_SERVER"), "--root",
                                      root_.path(), "--log", work_.filePath("commands.log"),
                                      "--max-seconds", "90"} +
                          faults);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000))
        return;
    while (process_.waitForReadyRead(10000)) {
        const QByteArray line = process_.readLine().trimmed();
        if (line.startsWith("PORT ")) {
            port_ = quint16(line.mid(5).toUInt());
            return;
        }
    }
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QStringList FtpServer::allCommands() const
{
    return QString::fromUtf8(readFile(work_.filePath(QStringLiteral("commands.log"))))
        .split(u'\n', Qt::SkipEmptyParts);
}

QStringList FtpServer::commands() const
{
    QStringList kept;
    for (const QString& command : allCommands()) {
        const QString verb = command.section(u' ', 0, 0);
        if (verb != u"PWD" && verb != u"EPSV" && verb != u"PASV")
            kept << command;
    }
    return kept;
}

} // namespace tarvexio::test
