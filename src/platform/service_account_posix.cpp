#include "platform/service_account.h"

#include <QFile>
#include <QRegularExpression>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace tarvexio {

namespace {

const char* const ServiceUser = "tarvexio";
const QString ServiceDefaults = QStringLiteral("/etc/default/tarvexio");

// TARVEXIO_ARGS="…" of the service's environment file, as the unit's ExecStart gets it:
// systemd takes the quotes off the value, and $TARVEXIO_ARGS splits at white space.
QStringList serviceArguments()
{
    QFile file(ServiceDefaults);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString name = QStringLiteral("TARVEXIO_ARGS=");
    QStringList arguments;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.startsWith(name))
            continue;
        QString value = line.mid(name.size());
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        // The last assignment wins, as in the unit's environment.
        arguments = value.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    return arguments;
}

} // namespace

std::optional<ServiceAccount> serviceAccountForRoot()
{
    const passwd* user = ::getpwnam(ServiceUser);
    if (::geteuid() != 0 || user == nullptr || !QFile::exists(ServiceDefaults))
        return std::nullopt;
    return ServiceAccount{QString::fromLocal8Bit(user->pw_name),
                          QString::fromLocal8Bit(user->pw_dir), serviceArguments()};
}

bool becomeServiceUser(const ServiceAccount& account, QString* why)
{
    const QByteArray name = account.user.toLocal8Bit();
    const passwd* user = ::getpwnam(name.constData());
    if (user == nullptr) {
        *why = QStringLiteral("no user %1").arg(account.user);
        return false;
    }
    if (::initgroups(user->pw_name, user->pw_gid) != 0 || ::setgid(user->pw_gid) != 0 ||
        ::setuid(user->pw_uid) != 0) {
        *why = QStringLiteral("cannot become %1").arg(account.user);
        return false;
    }
    qputenv("HOME", account.home.toLocal8Bit());
    qputenv("TARVEXIO_HOME", account.home.toLocal8Bit());
    qputenv("USER", name);
    return true;
}

} // namespace tarvexio
