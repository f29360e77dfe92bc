#include "config/parameter_list.h"

#include "config/parameter_lines.h"
#include "config/password_coding.h"
#include "config/setting_definitions.h"
#include "config/settings_record.h"

#include <QRegularExpression>

#include <variant>
#include <vector>

namespace tarvexio {

namespace {

// Where one named parameter lives in the record, and what a malformed number becomes.
struct IntField {
    qint32 TKonfigEksportu::*field;
    qint32 fallback;
};
struct FtpIntField {
    qint32 TParametryFtp::*field;
    qint32 fallback;
};
struct ConsentField {
    Consent index;
};
struct WordField {
    quint16 TKonfigEksportu::*field;
    qint32 fallback;
};
struct ByteFlagField {
    quint8 TParametryFtp::*field;
};
struct TextField {
    QString TKonfigEksportu::*field;
};
struct FtpTextField {
    QString TParametryFtp::*field;
    bool password = false;
};
struct PassiveField {};

using Field = std::variant<IntField, FtpIntField, ConsentField, WordField, ByteFlagField, TextField,
                           FtpTextField, PassiveField>;

struct Parameter {
    SettingDefinition definition;
    Field field;
};

using K = SettingKind;

// The one table of the stored settings, in the order the lists are written.
const Parameter Parameters[] = {
    {{"ParEksportDir", "export.dir", K::Directory, "the exchange directory of the data files"},
     TextField{&TKonfigEksportu::ParEksportDir}},
    {{"ParSerwis_IT", "export.service_code", K::Text, "service code, at most 10 characters"},
     TextField{&TKonfigEksportu::ParSerwis_IT}},
    {{"ParCenySp", "consent.sale_prices", K::Flag, "consent: sale prices (ceny sprzedaży)"},
     ConsentField{ParCenySp}},
    {{"ParIlwMag", "consent.shop_quantity", K::Flag,
      "consent: quantity in the shop (ilość w sklepie)"},
     ConsentField{ParIlwMag}},
    {{"ParWartwMag", "consent.shop_value", K::Flag,
      "consent: value in the shop (wartość w sklepie)"},
     ConsentField{ParWartwMag}},
    {{"ParDzWartZakwCenZak", "consent.daily_purchases_at_purchase_prices", K::Flag,
      "consent: daily purchases at purchase prices"},
     ConsentField{ParDzWartZakwCenZak}},
    {{"ParDzWartSprzwCenZak", "consent.daily_sales_at_purchase_prices", K::Flag,
      "consent: daily sales at purchase prices (shows margins)"},
     ConsentField{ParDzWartSprzwCenZak}},
    {{"ParDzWartSprzwCenSprz", "consent.daily_sales_at_sale_prices", K::Flag,
      "consent: daily sales at sale prices"},
     ConsentField{ParDzWartSprzwCenSprz}},
    {{"ParDzLPar", "consent.daily_receipts", K::Flag, "consent: daily number of receipts"},
     ConsentField{ParDzLPar}},
    {{"ParSrLPLUnaPar", "consent.plu_per_receipt", K::Flag,
      "consent: average number of PLU on a receipt"},
     ConsentField{ParSrLPLUnaPar}},
    {{"ParSrWartPar", "consent.receipt_value", K::Flag, "consent: average value of a receipt"},
     ConsentField{ParSrWartPar}},
    {{"ParNIPKontrPar", "consent.supplier_nip", K::Flag, "consent: the supplier's NIP"},
     ConsentField{ParNIPKontrPar}},
    {{"ParDataOstEksp", "export.last_day", K::Day,
      "the last exported day: the next one is exported after it"},
     IntField{&TKonfigEksportu::ParDataOstEksp, 0}},
    {{"ParAutoStart", "system.autostart", K::Flag, "start the program when the user logs in"},
     IntField{&TKonfigEksportu::ParAutoStart, 1}},
    {{"ParKonfigZPliku", "config.read_file", K::Flag,
      "a start reads the configuration file instead of the Konfig table"},
     IntField{&TKonfigEksportu::ParKonfigZPliku, 0}},
    {{"ParZapisKonfig", "config.save_mode", K::SaveMode,
      "where settings are saved: 0 table and file, 1 table, 2 file"},
     IntField{&TKonfigEksportu::ParZapisKonfig, 0}},
    {{"ParGodz", "export.hour", K::Hour, "the hour from which a day's export is due"},
     WordField{&TKonfigEksportu::ParGodz, 24}},
    {{"ParMin", "export.minute", K::Minute, "the minute of that hour"},
     WordField{&TKonfigEksportu::ParMin, 0}},
    {{"ParSerwerFTP", "ftp.server", K::Text, "the FTP server: host, or ftps://host for TLS"},
     FtpTextField{&TParametryFtp::ParSerwerFTP}},
    {{"ParUserFTP", "ftp.user", K::Text, "the FTP user"}, FtpTextField{&TParametryFtp::ParUserFTP}},
    {{"ParHasloFTP", "ftp.password", K::Password, "the FTP password"},
     FtpTextField{&TParametryFtp::ParHasloFTP, true}},
    {{"ParPortFTP", "ftp.port", K::Port, "the FTP port (unticks the default port)"},
     FtpIntField{&TParametryFtp::ParPortFTP, DefaultFtpPort}},
    {{"ParDomyslnyPortFTP", "ftp.default_port", K::Flag, "use the default FTP port, 21"},
     FtpIntField{&TParametryFtp::ParDomyslnyPortFTP, 1}},
    {{"ParTrybPasywnyFTP", "ftp.passive", K::Fixed, "passive data connections, always on"},
     PassiveField{}},
    {{"ParFolderFTP", "ftp.folder", K::Text, "the folder on the FTP server"},
     FtpTextField{&TParametryFtp::ParFolderFTP}},
    {{"ParFolderLokalFTP", "ftp.local_folder", K::Text,
      "where fetched request files land (the exchange directory)"},
     FtpTextField{&TParametryFtp::ParFolderLokalFTP}},
    {{"ParPbkCzyModem", "dialup.enabled", K::Flag, "dial a connection before every FTP job"},
     ByteFlagField{&TParametryFtp::ParPbkCzyModem}},
    {{"ParCzyPlikPbk", "dialup.use_phonebook_file", K::Flag, "use the phonebook file named"},
     ByteFlagField{&TParametryFtp::ParCzyPlikPbk}},
    {{"ParNazwaPlikuPbk", "dialup.phonebook_file", K::Text, "the phonebook file"},
     FtpTextField{&TParametryFtp::ParNazwaPlikuPbk}},
    {{"ParPbkEntry", "dialup.entry", K::Text, "the phonebook entry (NetworkManager profile)"},
     FtpTextField{&TParametryFtp::ParPbkEntry}},
    {{"ParPbkUser", "dialup.user", K::Text, "the dial-up user"},
     FtpTextField{&TParametryFtp::ParPbkUser}},
    {{"ParPbkHaslo", "dialup.password", K::Password, "the dial-up password"},
     FtpTextField{&TParametryFtp::ParPbkHaslo, true}},
};

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

QString whole(qint32 value)
{
    return QString::number(value);
}

QString valueText(const TKonfigEksportu& record, const Field& field)
{
    return std::visit(Overloaded{
                          [&](const IntField& f) { return whole(record.*f.field); },
                          [&](const FtpIntField& f) { return whole(record.ftp.*f.field); },
                          [&](const ConsentField& f) { return whole(record.consent[f.index]); },
                          [&](const WordField& f) { return QString::number(record.*f.field); },
                          [&](const ByteFlagField& f) { return whole(record.ftp.*f.field); },
                          [&](const TextField& f) { return record.*f.field; },
                          [&](const FtpTextField& f) {
                              const QString& text = record.ftp.*f.field;
                              return f.password ? KodowanieHasla(text) : text;
                          },
                          [&](const PassiveField&) { return whole(record.ftp.ParTrybPasywnyFTP); },
                      },
                      field);
}

void apply(TKonfigEksportu& record, const Field& field, const QString& value)
{
    std::visit(
        Overloaded{
            [&](const IntField& f) { record.*f.field = parameterNumber(value, f.fallback); },
            [&](const FtpIntField& f) { record.ftp.*f.field = parameterNumber(value, f.fallback); },
            [&](const ConsentField& f) { record.consent[f.index] = parameterNumber(value, 1); },
            [&](const WordField& f) {
                record.*f.field = static_cast<quint16>(parameterNumber(value, f.fallback));
            },
            [&](const ByteFlagField& f) {
                record.ftp.*f.field = parameterNumber(value, 0) != 0 ? 1 : 0;
            },
            [&](const TextField& f) { record.*f.field = value; },
            [&](const FtpTextField& f) {
                record.ftp.*f.field = f.password ? dekodowanieHasla(value) : value;
            },
            [&](const PassiveField&) { record.ftp.ParTrybPasywnyFTP = 1; },
        },
        field);
}

} // namespace

const char* settingKindText(SettingKind kind)
{
    switch (kind) {
    case SettingKind::Text:
        return "text";
    case SettingKind::Directory:
        return "directory (an existing folder)";
    case SettingKind::Flag:
        return "flag (0 or 1)";
    case SettingKind::Port:
        return "number (1 to 65535)";
    case SettingKind::Hour:
        return "number (0 to 23)";
    case SettingKind::Minute:
        return "number (0 to 59)";
    case SettingKind::SaveMode:
        return "number (0 table and file, 1 table, 2 file)";
    case SettingKind::Day:
        return "date (YYYY-MM-DD)";
    case SettingKind::Password:
        return "password (read from standard input)";
    case SettingKind::Code:
        return "text (no spaces, nothing a file name cannot hold)";
    case SettingKind::Fixed:
        break;
    }
    return "fixed (always 1, cannot be set)";
}

std::span<const SettingDefinition> settingDefinitions()
{
    static const std::vector<SettingDefinition> definitions = [] {
        std::vector<SettingDefinition> all;
        for (const Parameter& parameter : Parameters)
            all.push_back(parameter.definition);
        return all;
    }();
    return definitions;
}

SettingDefinition shopCodeDefinition()
{
    return {"ParKodKVR#<id>", "shop.<id>.code", SettingKind::Code,
            "the shop's code at the service (it names the data files)"};
}

std::optional<FoundSetting> findSetting(QStringView nameOrKey)
{
    for (const SettingDefinition& definition : settingDefinitions()) {
        const QString name = QString::fromLatin1(definition.name);
        if (nameOrKey == name || nameOrKey == QLatin1StringView(definition.key) ||
            (QLatin1StringView(definition.key).startsWith(QLatin1StringView("consent.")) &&
             nameOrKey == QStringLiteral("consent.") + name))
            return FoundSetting{definition, name};
    }
    static const QRegularExpression code(
        QStringLiteral("^(?:ParKodKVR#|shop\\.)(-?\\d+)(\\.code)?$"));
    const QRegularExpressionMatch match = code.match(nameOrKey);
    // "ParKodKVR#7" or "shop.7.code", not a mixture of the two.
    if (!match.hasMatch() || nameOrKey.startsWith(u"shop.") == match.captured(2).isEmpty())
        return std::nullopt;
    const qint32 shop = match.captured(1).toInt();
    return FoundSetting{shopCodeDefinition(), ShopCodePrefix + QString::number(shop), shop};
}

QStringList writeParameterList(const TKonfigEksportu& record)
{
    QStringList lines;
    for (const Parameter& parameter : Parameters)
        addParameterLine(lines, QString::fromLatin1(parameter.definition.name),
                         valueText(record, parameter.field));
    for (int position = 0; position < record.shopCount(); ++position)
        addParameterLine(lines, ShopCodePrefix + QString::number(record.shopListA()[position].id),
                         record.kodKvr(position));
    return lines;
}

void readParameterList(const QStringList& lines, TKonfigEksportu& record)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString value = parameterValue(lines, i);
        if (value.isEmpty())
            continue;
        const QString name = parameterName(lines, i);
        const auto known =
            std::find_if(std::begin(Parameters), std::end(Parameters), [&](const Parameter& p) {
                return name == QLatin1StringView(p.definition.name);
            });
        if (known != std::end(Parameters)) {
            apply(record, known->field, value);
        } else if (name.contains(QStringLiteral("ParKodKVR"))) {
            if (const auto position = record.positionOfShop(numberAfterSeparator(name, u'#')))
                record.setKodKvr(*position, value);
        }
    }
}

} // namespace tarvexio
