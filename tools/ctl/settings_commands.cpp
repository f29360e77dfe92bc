#include "settings_commands.h"

#include "agent_settings.h"
#include "app/day_rule.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

namespace tarvexio {

namespace {

void Print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

const QStringList PasswordNames{QStringLiteral("ParHasloFTP"), QStringLiteral("ParPbkHaslo")};

enum class Kind { Text, Port, Flag, SaveMode, Hour, Minute, Time, Day, Directory, Password, Code };

struct Alias {
    const char* name;
    const char* parameter;
    Kind kind;
};

// Readable names for what an administrator changes most; every parameter name works too.
const Alias Aliases[] = {
    {"ftp.server", "ParSerwerFTP", Kind::Text},
    {"ftp.port", "ParPortFTP", Kind::Port},
    {"ftp.default_port", "ParDomyslnyPortFTP", Kind::Flag},
    {"ftp.user", "ParUserFTP", Kind::Text},
    {"ftp.password", "ParHasloFTP", Kind::Password},
    {"ftp.folder", "ParFolderFTP", Kind::Text},
    {"export.dir", "ParEksportDir", Kind::Directory},
    {"export.time", "", Kind::Time},
    {"export.hour", "ParGodz", Kind::Hour},
    {"export.minute", "ParMin", Kind::Minute},
    {"export.last_day", "ParDataOstEksp", Kind::Day},
    {"config.save_mode", "ParZapisKonfig", Kind::SaveMode},
    {"config.read_file", "ParKonfigZPliku", Kind::Flag},
    {"dialup.password", "ParPbkHaslo", Kind::Password},
};

// The kind of a parameter given by its own name.
Kind KindOfParameter(const QString& name)
{
    for (const Alias& alias : Aliases) {
        if (name == QLatin1StringView(alias.parameter))
            return alias.kind;
    }
    if (name.startsWith(QStringLiteral("ParKodKVR#")))
        return Kind::Code;
    static const QRegularExpression flags(QStringLiteral(
        "^(ParCenySp|ParIlwMag|ParWartwMag|ParDz.*|ParSrLPLUnaPar|ParSrWartPar|ParNIPKontrPar|"
        "ParAutoStart|ParPbkCzyModem|ParCzyPlikPbk|ParTrybPasywnyFTP)$"));
    return flags.match(name).hasMatch() ? Kind::Flag : Kind::Text;
}

// The parameter a key names ("" for the time, which is two), or nothing when none.
std::optional<std::pair<QString, Kind>> Resolve(const QString& key, const QStringList& known)
{
    for (const Alias& alias : Aliases) {
        if (key == QLatin1StringView(alias.name))
            return std::pair{QString::fromLatin1(alias.parameter), alias.kind};
    }
    static const QRegularExpression shopCode(QStringLiteral("^shop\\.(-?\\d+)\\.code$"));
    if (const QRegularExpressionMatch match = shopCode.match(key); match.hasMatch())
        return std::pair{QStringLiteral("ParKodKVR#") + match.captured(1), Kind::Code};
    if (key.startsWith(QStringLiteral("consent.")) && known.contains(key.mid(8)) &&
        KindOfParameter(key.mid(8)) == Kind::Flag)
        return std::pair{key.mid(8), Kind::Flag};
    if (known.contains(key) || key.startsWith(QStringLiteral("ParKodKVR#")))
        return std::pair{key, KindOfParameter(key)};
    return std::nullopt;
}

bool InRange(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// The lines that set one key to its value, or the reason it is refused.
QString Check(TKonfigEksportu& record, const QString& parameter, Kind kind, QString value,
              QStringList& lines)
{
    int number = 0;
    // The stores skip an empty value: it would change nothing.
    if (value.isEmpty() && kind != Kind::Password)
        return QStringLiteral("an empty value changes nothing (the stores skip it)");
    switch (kind) {
    case Kind::Password:
        return QStringLiteral("a password is read from standard input, never from the command "
                              "line: give the key without \"=\"");
    case Kind::Port:
        if (!InRange(value, 1, 65535, number))
            return QStringLiteral("a port is a number from 1 to 65535");
        // As typing a port in the window: the default-port box must be unticked for it to count.
        AddParameterLine(lines, QStringLiteral("ParDomyslnyPortFTP"), QStringLiteral("0"));
        break;
    case Kind::Flag:
        if (value != u"0" && value != u"1")
            return QStringLiteral("expected 0 or 1");
        if (parameter == u"ParDomyslnyPortFTP" && value == u"1")
            AddParameterLine(lines, QStringLiteral("ParPortFTP"), QString::number(DefaultFtpPort));
        break;
    case Kind::SaveMode:
        if (!InRange(value, 0, 2, number))
            return QStringLiteral("0 (table and file), 1 (table) or 2 (file)");
        break;
    case Kind::Hour:
        if (!InRange(value, 0, 23, number))
            return QStringLiteral("an hour is a number from 0 to 23");
        break;
    case Kind::Minute:
        if (!InRange(value, 0, 59, number))
            return QStringLiteral("a minute is a number from 0 to 59");
        break;
    case Kind::Time: {
        int minute = 0;
        if (!InRange(value.section(u':', 0, 0), 0, 23, number) || value.count(u':') != 1 ||
            !InRange(value.section(u':', 1), 0, 59, minute))
            return QStringLiteral("expected HH:MM, 00:00 to 23:59");
        AddParameterLine(lines, QStringLiteral("ParGodz"), QString::number(number));
        AddParameterLine(lines, QStringLiteral("ParMin"), QString::number(minute));
        return {};
    }
    case Kind::Day: {
        const QDate day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        if (!day.isValid())
            return QStringLiteral("expected YYYY-MM-DD");
        // The agent would take a day outside these as none exported, and start from 1899.
        if (!SensibleLastExportedDay(day, QDate::currentDate()))
            return QStringLiteral("a day from 1899-12-30 to a year from today");
        value = QString::number(DayNumber(day));
        break;
    }
    case Kind::Directory:
        if (!QFileInfo(value).isDir())
            return QStringLiteral("no such directory");
        value = WithoutTrailingSeparator(QFileInfo(value).absoluteFilePath());
        break;
    case Kind::Code: {
        bool ok = false;
        const qint32 shop = parameter.section(u'#', 1).toInt(&ok);
        if (!ok || !record.PositionOfShop(shop))
            return QStringLiteral("no shop with that id in the database");
        // The code names the data files: nothing a file name cannot hold.
        if (value.contains(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\s]"))))
            return QStringLiteral("a code cannot hold spaces or / \\ : * ? \" < > |");
        break;
    }
    case Kind::Text:
        // The window's field holds ten characters.
        if (parameter == u"ParSerwis_IT" && value.size() > 10)
            return QStringLiteral("at most 10 characters");
        break;
    }
    AddParameterLine(lines, parameter, value);
    return {};
}

QStringList KnownNames(const TKonfigEksportu& record)
{
    const QStringList lines = WriteParameterList(record);
    QStringList names;
    for (int i = 0; i < lines.size(); ++i)
        names << ParameterName(lines, i);
    return names;
}

} // namespace

int ShowSettings(AgentSettings& settings, bool json)
{
    QJsonObject object;
    QStringList text{QStringLiteral("# from %1").arg(settings.source())};
    const QStringList lines = WriteParameterList(settings.record());
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = ParameterName(lines, i);
        QString value = ParameterValue(lines, i);
        if (PasswordNames.contains(name))
            value = value.isEmpty() ? QStringLiteral("(unset)") : QStringLiteral("(set)");
        else if (name == u"ParDataOstEksp")
            value += QStringLiteral(" (%1)").arg(
                DayFromNumber(settings.record().ParDataOstEksp).toString(Qt::ISODate));
        text << name + u'=' + value;
        object.insert(name, value);
    }
    if (json)
        Print(stdout, QString::fromUtf8(
                          QJsonDocument(QJsonObject{{QStringLiteral("source"), settings.source()},
                                                    {QStringLiteral("settings"), object}})
                              .toJson(QJsonDocument::Indented)));
    else
        Print(stdout, text.join(u'\n'));
    return 0;
}

int SetSettings(AgentSettings& settings, const QStringList& assignments,
                const std::function<QString(const QString&)>& readPassword)
{
    TKonfigEksportu& record = settings.record();
    const QStringList known = KnownNames(record);
    QStringList lines;
    QStringList errors;
    for (const QString& assignment : assignments) {
        const QString key = assignment.section(u'=', 0, 0);
        const auto target = Resolve(key, known);
        if (!target) {
            // A bare word may be a password typed in the wrong place: it is not repeated.
            errors << (assignment.contains(u'=')
                           ? QStringLiteral("%1: no such setting").arg(key)
                           : QStringLiteral("an argument without \"=\" that names no setting"));
            continue;
        }
        const auto& [parameter, kind] = *target;
        if (kind == Kind::Password && !assignment.contains(u'=')) {
            // Coded as the stores code it, by the record's own writer.
            const QString password = readPassword(key + QStringLiteral(": "));
            if (password.isEmpty()) {
                errors << QStringLiteral("%1: no password given").arg(key);
                continue;
            }
            if (parameter == u"ParHasloFTP")
                record.ftp.ParHasloFTP = password;
            else
                record.ftp.ParPbkHaslo = password;
            continue;
        }
        if (!assignment.contains(u'=')) {
            errors << QStringLiteral("%1: expected %1=VALUE").arg(key);
            continue;
        }
        if (const QString problem =
                Check(record, parameter, kind, assignment.section(u'=', 1), lines);
            !problem.isEmpty())
            errors << QStringLiteral("%1: %2").arg(key, problem);
    }
    if (!errors.isEmpty()) {
        for (const QString& error : std::as_const(errors))
            Print(stderr, error);
        Print(stderr, QStringLiteral("Nothing was changed."));
        return 2;
    }
    if (record.ParZapisKonfig < 0 || record.ParZapisKonfig > 2) {
        Print(stderr, QStringLiteral("The save mode %1 stores nothing: set config.save_mode to 0, "
                                     "1 or 2 first. Nothing was changed.")
                          .arg(record.ParZapisKonfig));
        return 2;
    }
    ReadParameterList(lines, record);
    SettingsStores stores = settings.stores();
    const bool fileSaved =
        stores.Save(WriteParameterList(record), record.ParZapisKonfig, record.ParKonfigZPliku != 0);
    if (!fileSaved) {
        Print(stderr, QStringLiteral("The configuration file %1 could not be written.")
                          .arg(QDir::toNativeSeparators(stores.configurationFile())));
        return 1;
    }
    const QString file = QDir::toNativeSeparators(stores.configurationFile());
    const QString where = record.ParZapisKonfig == SettingsStores::TableAndFile
                              ? QStringLiteral("the Konfig table and ") + file
                          : record.ParZapisKonfig == SettingsStores::TableOnly
                              ? QStringLiteral("the Konfig table")
                              : file;
    Print(stdout,
          QStringLiteral("Saved to %1. A running agent takes it at its next export, or at once "
                         "with: tarvexioctl send-now")
              .arg(where));
    return 0;
}

} // namespace tarvexio
