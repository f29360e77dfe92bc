#include "support/vsftpd.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

namespace tarvexio::test {

Vsftpd::Vsftpd(bool tls, const QString& protocol)
{
    if (::geteuid() != 0) {
        failure_ = QStringLiteral("vsftpd runs as root only");
        return;
    }
    const QDir work(work_.path());
    QFile::setPermissions(work_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
    work.mkpath(QStringLiteral("root/in"));
    work.mkpath(QStringLiteral("empty"));
    // The root may not be writable for the anonymous user; its folder "in" is.
    QFile::setPermissions(root() + QStringLiteral("/in"), QFile::ReadOwner | QFile::WriteOwner |
                                                              QFile::ExeOwner | QFile::ReadOther |
                                                              QFile::WriteOther | QFile::ExeOther);
    if (tls) {
        QProcess openssl;
        openssl.setStandardOutputFile(QProcess::nullDevice());
        openssl.setStandardErrorFile(QProcess::nullDevice());
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                       work.filePath("key.pem"), "-out", certificate()});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
            failure_ = QStringLiteral("openssl could not make a certificate");
            return;
        }
    }
    port_ = freePort();
    const quint16 passive = freePort();
    QStringList settings =
        QStringLiteral("listen=YES listen_address=127.0.0.1 listen_port=%1 background=NO "
                       "seccomp_sandbox=NO isolate=NO isolate_network=NO anonymous_enable=YES "
                       "local_enable=NO write_enable=YES anon_upload_enable=YES "
                       "anon_mkdir_write_enable=YES anon_other_write_enable=YES anon_umask=022 "
                       "no_anon_password=YES anon_root=%2 secure_chroot_dir=%3 pasv_enable=YES "
                       "pasv_address=127.0.0.1 pasv_min_port=%4 pasv_max_port=%5 "
                       "xferlog_enable=YES xferlog_std_format=NO log_ftp_protocol=YES "
                       "vsftpd_log_file=%6 use_localtime=YES")
            .arg(port_)
            .arg(root(), work.filePath("empty"))
            .arg(passive)
            .arg(passive + 10)
            .arg(work.filePath("protocol.log"))
            .split(u' ');
    if (tls)
        settings << QStringLiteral("ssl_enable=YES allow_anon_ssl=YES force_anon_logins_ssl=YES "
                                   "force_anon_data_ssl=YES require_ssl_reuse=YES "
                                   "rsa_cert_file=%1 rsa_private_key_file=%2")
                        .arg(certificate(), work.filePath("key.pem"))
                        .split(u' ');
    const QString configuration = work.filePath(QStringLiteral("vsftpd.conf"));
    writeFile(configuration, settings.join(u'\n').toUtf8() + '\n');

    if (!protocol.isEmpty()) {
        // vsftpd 3.0.3 has no switch for TLS versions; OpenSSL's own configuration has.
        const QString openssl = work.filePath(QStringLiteral("openssl.cnf"));
        writeFile(openssl, "openssl_conf = init\n[init]\nssl_conf = ssl\n[ssl]\n"
                           "system_default = limits\n[limits]\n" +
                               protocol.toUtf8() + '\n');
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OPENSSL_CONF"), openssl);
        process_.setProcessEnvironment(environment);
    }
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(QStringLiteral("/usr/sbin/vsftpd"), {configuration});
    for (int attempt = 0; attempt < 50; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(100))
            return;
        if (process_.state() == QProcess::NotRunning)
            break;
        QThread::msleep(100);
    }
    failure_ = QStringLiteral("vsftpd did not start");
}

} // namespace tarvexio::test
