#include "config/parameter_list.h"

#include "config/parameter_lines.h"
#include "config/password_coding.h"
#include "config/settings_record.h"

#include <variant>

namespace tarvexio {

namespace {

const QString KvrPrefix = QStringLiteral("ParKodKVR#");

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
    const char* name;
    Field field;
};

// In the order the lists are written.
const Parameter Parameters[] = {
    {"ParEksportDir", TextField{&TKonfigEksportu::ParEksportDir}},
    {"ParSerwis_IT", TextField{&TKonfigEksportu::ParSerwis_IT}},
    {"ParCenySp", ConsentField{ParCenySp}},
    {"ParIlwMag", ConsentField{ParIlwMag}},
    {"ParWartwMag", ConsentField{ParWartwMag}},
    {"ParDzWartZakwCenZak", ConsentField{ParDzWartZakwCenZak}},
    {"ParDzWartSprzwCenZak", ConsentField{ParDzWartSprzwCenZak}},
    {"ParDzWartSprzwCenSprz", ConsentField{ParDzWartSprzwCenSprz}},
    {"ParDzLPar", ConsentField{ParDzLPar}},
    {"ParSrLPLUnaPar", ConsentField{ParSrLPLUnaPar}},
    {"ParSrWartPar", ConsentField{ParSrWartPar}},
    {"ParNIPKontrPar", ConsentField{ParNIPKontrPar}},
    {"ParDataOstEksp", IntField{&TKonfigEksportu::ParDataOstEksp, 0}},
    {"ParAutoStart", IntField{&TKonfigEksportu::ParAutoStart, 1}},
    {"ParKonfigZPliku", IntField{&TKonfigEksportu::ParKonfigZPliku, 0}},
    {"ParZapisKonfig", IntField{&TKonfigEksportu::ParZapisKonfig, 0}},
    {"ParGodz", WordField{&TKonfigEksportu::ParGodz, 24}},
    {"ParMin", WordField{&TKonfigEksportu::ParMin, 0}},
    {"ParSerwerFTP", FtpTextField{&TParametryFtp::ParSerwerFTP}},
    {"ParUserFTP", FtpTextField{&TParametryFtp::ParUserFTP}},
    {"ParHasloFTP", FtpTextField{&TParametryFtp::ParHasloFTP, true}},
    {"ParPortFTP", FtpIntField{&TParametryFtp::ParPortFTP, DefaultFtpPort}},
    {"ParDomyslnyPortFTP", FtpIntField{&TParametryFtp::ParDomyslnyPortFTP, 1}},
    {"ParTrybPasywnyFTP", PassiveField{}},
    {"ParFolderFTP", FtpTextField{&TParametryFtp::ParFolderFTP}},
    {"ParFolderLokalFTP", FtpTextField{&TParametryFtp::ParFolderLokalFTP}},
    {"ParPbkCzyModem", ByteFlagField{&TParametryFtp::ParPbkCzyModem}},
    {"ParCzyPlikPbk", ByteFlagField{&TParametryFtp::ParCzyPlikPbk}},
    {"ParNazwaPlikuPbk", FtpTextField{&TParametryFtp::ParNazwaPlikuPbk}},
    {"ParPbkEntry", FtpTextField{&TParametryFtp::ParPbkEntry}},
    {"ParPbkUser", FtpTextField{&TParametryFtp::ParPbkUser}},
    {"ParPbkHaslo", FtpTextField{&TParametryFtp::ParPbkHaslo, true}},
};

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

QString Whole(qint32 value)
{
    return QString::number(value);
}

QString ValueText(const TKonfigEksportu& record, const Field& field)
{
    return std::visit(Overloaded{
                          [&](const IntField& f) { return Whole(record.*f.field); },
                          [&](const FtpIntField& f) { return Whole(record.ftp.*f.field); },
                          [&](const ConsentField& f) { return Whole(record.consent[f.index]); },
                          [&](const WordField& f) { return QString::number(record.*f.field); },
                          [&](const ByteFlagField& f) { return Whole(record.ftp.*f.field); },
                          [&](const TextField& f) { return record.*f.field; },
                          [&](const FtpTextField& f) {
                              const QString& text = record.ftp.*f.field;
                              return f.password ? KodowanieHasla(text) : text;
                          },
                          [&](const PassiveField&) { return Whole(record.ftp.ParTrybPasywnyFTP); },
                      },
                      field);
}

void Apply(TKonfigEksportu& record, const Field& field, const QString& value)
{
    std::visit(
        Overloaded{
            [&](const IntField& f) { record.*f.field = ParameterNumber(value, f.fallback); },
            [&](const FtpIntField& f) { record.ftp.*f.field = ParameterNumber(value, f.fallback); },
            [&](const ConsentField& f) { record.consent[f.index] = ParameterNumber(value, 1); },
            [&](const WordField& f) {
                record.*f.field = static_cast<quint16>(ParameterNumber(value, f.fallback));
            },
            [&](const ByteFlagField& f) {
                record.ftp.*f.field = ParameterNumber(value, 0) != 0 ? 1 : 0;
            },
            [&](const TextField& f) { record.*f.field = value; },
            [&](const FtpTextField& f) {
                record.ftp.*f.field = f.password ? DekodowanieHasla(value) : value;
            },
            [&](const PassiveField&) { record.ftp.ParTrybPasywnyFTP = 1; },
        },
        field);
}

} // namespace

QStringList WriteParameterList(const TKonfigEksportu& record)
{
    QStringList lines;
    for (const Parameter& parameter : Parameters)
        AddParameterLine(lines, QString::fromLatin1(parameter.name),
                         ValueText(record, parameter.field));
    for (int position = 0; position < record.ShopCount(); ++position)
        AddParameterLine(lines, KvrPrefix + QString::number(record.ShopListA()[position].id),
                         record.KodKVR(position));
    return lines;
}

void ReadParameterList(const QStringList& lines, TKonfigEksportu& record)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString value = ParameterValue(lines, i);
        if (value.isEmpty())
            continue;
        const QString name = ParameterName(lines, i);
        const auto known =
            std::find_if(std::begin(Parameters), std::end(Parameters),
                         [&](const Parameter& p) { return name == QLatin1StringView(p.name); });
        if (known != std::end(Parameters)) {
            Apply(record, known->field, value);
        } else if (name.contains(QStringLiteral("ParKodKVR"))) {
            if (const auto position = record.PositionOfShop(NumberAfterSeparator(name, u'#')))
                record.SetKodKVR(*position, value);
        }
    }
}

} // namespace tarvexio
