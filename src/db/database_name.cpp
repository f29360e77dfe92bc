#include "db/database_name.h"

#include <QDir>
#include <QRegularExpression>

namespace tarvexio {

namespace {

const QString OdbcPrefix = QStringLiteral("odbc:");

// The length of "postgresql://" or "postgres://" at the start of name; 0 for anything else.
qsizetype postgresSchemeLength(const QString& name)
{
    for (const char* scheme : {"postgresql://", "postgres://"}) {
        if (name.startsWith(QLatin1StringView(scheme), Qt::CaseInsensitive))
            return qsizetype(qstrlen(scheme));
    }
    return 0;
}

// A PostgreSQL URL cut by its syntax alone, so that a part that is badly written can never
// move the password into another part (a raw "#" would make a URL parser drop the host).
struct UrlParts {
    qsizetype userInfoStart = 0;
    qsizetype at = -1; // the "@" that ends the user information, or -1
    QString userInfo;
    QString hostPort;
    QString path;
    QString query; // after the "?" that ends the path
};

UrlParts splitUrl(const QString& name, qsizetype schemeLength)
{
    UrlParts parts;
    parts.userInfoStart = schemeLength;
    // A password may hold "/" or "?", so the last "@" ends the user information.
    parts.at = name.lastIndexOf(u'@');
    if (parts.at < schemeLength)
        parts.at = -1;
    const qsizetype hostStart = parts.at < 0 ? schemeLength : parts.at + 1;
    if (parts.at >= 0)
        parts.userInfo = name.mid(schemeLength, parts.at - schemeLength);
    const qsizetype slash = name.indexOf(u'/', hostStart);
    parts.hostPort = name.mid(hostStart, slash < 0 ? -1 : slash - hostStart);
    if (slash >= 0) {
        parts.path = name.mid(slash + 1).section(u'?', 0, 0);
        parts.query = name.mid(slash + 1).section(u'?', 1);
    }
    return parts;
}

// What is wrong with one part of the URL, empty when nothing is: every "%" opens two hex
// digits, and the characters that separate the URL's parts do not appear raw.
QString partProblem(const QString& part, const QString& separators)
{
    for (qsizetype i = 0; i < part.size(); ++i) {
        const QChar c = part[i];
        if (c == u'%') {
            const auto hex = [&](qsizetype j) {
                return j < part.size() && QStringView(u"0123456789abcdefABCDEF").contains(part[j]);
            };
            if (!hex(i + 1) || !hex(i + 2))
                return QStringLiteral("\"%\" bez dwóch cyfr szesnastkowych");
            continue;
        }
        // Which character it is stays unsaid: it may be one of the password's.
        if (separators.contains(c) || c.unicode() < 0x20)
            return QStringLiteral("znak, który trzeba zapisać jako %XX (np. # jako %23, % jako "
                                  "%25, @ jako %40, : jako %3A, / jako %2F)");
    }
    return {};
}

QString decoded(const QString& part)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(part.toUtf8()));
}

// The query's "keyword=value" pairs go to libpq as they stand (sslmode, sslrootcert,
// connect_timeout, ...), so an encryption the administrator asked for is never dropped. libpq
// names a keyword it does not know; what it could misread is refused here.
QString parseOptions(const QString& query, QStringList& options)
{
    if (query.isEmpty())
        return {};
    static const QRegularExpression keyword(QStringLiteral("^[a-z_]+$"));
    static const QRegularExpression misread(QStringLiteral("[\\s;'\"\\\\]"));
    for (const QString& pair : query.split(u'&')) {
        const QString key = pair.section(u'=', 0, 0);
        const QString value = decoded(pair.section(u'=', 1));
        if (!keyword.match(key).hasMatch() || !pair.contains(u'='))
            return QStringLiteral("opcja \"%1\" nie ma postaci nazwa=wartość").arg(key);
        if (key == u"password")
            return QStringLiteral("hasło podaje się przed \"@\", nie jako opcję");
        if (value.isEmpty() || value.contains(misread))
            return QStringLiteral("wartość opcji %1 jest pusta albo zawiera odstęp, średnik, "
                                  "cudzysłów lub ukośnik odwrotny")
                .arg(key);
        options << key + u'=' + value;
    }
    return {};
}

DatabaseTarget parsePostgresUrl(const QString& name, qsizetype schemeLength,
                                const QString& userIdent)
{
    DatabaseTarget target;
    target.engine = SqlEngine::PostgreSQL;
    const UrlParts parts = splitUrl(name, schemeLength);
    const qsizetype colon = parts.userInfo.indexOf(u':');
    const QString user = colon < 0 ? parts.userInfo : parts.userInfo.left(colon);
    const QString password = colon < 0 ? QString() : parts.userInfo.mid(colon + 1);

    QString host = parts.hostPort;
    QString port;
    if (host.startsWith(u'[')) { // an IPv6 address
        const qsizetype close = host.indexOf(u']');
        port = close < 0 ? QString() : host.mid(close + 1);
        host = close < 0 ? host.mid(1) : host.mid(1, close - 1);
        if (port.startsWith(u':'))
            port.remove(0, 1);
        else if (!port.isEmpty())
            target.problem = QStringLiteral("po adresie w nawiasach może być tylko \":port\"");
    } else if (const qsizetype portColon = host.lastIndexOf(u':'); portColon >= 0) {
        port = host.mid(portColon + 1);
        host = host.left(portColon);
    }

    const struct {
        const char* what;
        QString text;
        QString separators;
    } checks[] = {
        {"nazwa użytkownika", user, QStringLiteral(":/?#[]@")},
        {"hasło", password, QStringLiteral("/?#[]@")},
        {"serwer", host, QStringLiteral("/?#@")},
        {"nazwa bazy", parts.path, QStringLiteral("/?#[]@")},
    };
    for (const auto& check : checks) {
        if (!target.problem.isEmpty())
            break;
        if (const QString problem = partProblem(check.text, check.separators); !problem.isEmpty())
            target.problem = QString::fromUtf8(check.what) + QStringLiteral(" zawiera ") + problem;
    }
    if (target.problem.isEmpty())
        target.problem = parseOptions(parts.query, target.options);
    bool portOk = port.isEmpty();
    const int portNumber = port.isEmpty() ? -1 : port.toInt(&portOk);
    if (target.problem.isEmpty() && (!portOk || portNumber < 1 || portNumber > 65535))
        target.problem = QStringLiteral("port \"%1\" nie jest numerem portu").arg(port);

    target.host = decoded(host);
    target.port = portNumber;
    target.databaseName = decoded(parts.path);
    target.userName = user.isEmpty() ? userIdent : decoded(user);
    target.password = decoded(password);
    return target;
}

const QRegularExpression& odbcSecret()
{
    // A braced value may hold ";" and "}}" stands for one "}".
    static const QRegularExpression secret(
        QStringLiteral("\\b(PWD|PASSWORD)(\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}?|[^;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    return secret;
}

} // namespace

DatabaseTarget parseDatabaseName(const QString& name, const QString& userIdent)
{
    if (const qsizetype scheme = postgresSchemeLength(name))
        return parsePostgresUrl(name, scheme, userIdent);
    DatabaseTarget target;
    if (name.startsWith(OdbcPrefix, Qt::CaseInsensitive)) {
        target.engine = SqlEngine::ODBC;
        target.databaseName = name.mid(OdbcPrefix.size());
        // A user named in the connection string is the one to log in as.
        static const QRegularExpression namedUser(QStringLiteral("(^|;)\\s*(UID|User ID)\\s*="),
                                                  QRegularExpression::CaseInsensitiveOption);
        if (!target.databaseName.contains(namedUser))
            target.userName = userIdent;
    } else {
        target.engine = SqlEngine::SQLite;
        target.sqlitePath =
            name.isEmpty() ? QString() : QDir::cleanPath(QDir().absoluteFilePath(name));
    }
    return target;
}

namespace {

// A password written as a query option, which the parser refuses, is hidden all the same.
QString withoutQueryPassword(const QString& name, const QString& replacement)
{
    static const QRegularExpression option(QStringLiteral("([?&]password=)[^&]*"));
    QString kept = name;
    return kept.replace(option, replacement);
}

} // namespace

QString redactedDatabaseName(const QString& name)
{
    if (const qsizetype scheme = postgresSchemeLength(name)) {
        QString hidden = withoutQueryPassword(name, QStringLiteral("\\1***"));
        const UrlParts parts = splitUrl(hidden, scheme);
        const qsizetype colon = parts.userInfo.indexOf(u':');
        if (parts.at < 0 || colon < 0)
            return hidden;
        return hidden.left(scheme + colon + 1) + QStringLiteral("***") + hidden.mid(parts.at);
    }
    if (name.startsWith(OdbcPrefix, Qt::CaseInsensitive)) {
        QString redacted = name;
        return redacted.replace(odbcSecret(), QStringLiteral("\\1\\2***"));
    }
    return name;
}

QString databaseNameWithoutPassword(const QString& name)
{
    if (const qsizetype scheme = postgresSchemeLength(name)) {
        QString kept = withoutQueryPassword(name, QString());
        const UrlParts parts = splitUrl(kept, scheme);
        const qsizetype colon = parts.userInfo.indexOf(u':');
        if (parts.at < 0 || colon < 0)
            return kept;
        return kept.left(scheme + colon) + kept.mid(parts.at);
    }
    if (name.startsWith(OdbcPrefix, Qt::CaseInsensitive)) {
        static const QRegularExpression secretItem(
            QStringLiteral(";?\\s*\\b(PWD|PASSWORD)\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}?|[^;]*)"),
            QRegularExpression::CaseInsensitiveOption);
        QString kept = name;
        return kept.remove(secretItem);
    }
    return name;
}

} // namespace tarvexio
