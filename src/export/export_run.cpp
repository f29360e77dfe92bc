#include "export/export_run.h"

#include "config/settings_record.h"
#include "db/db_error.h"
#include "db/export_queries.h"
#include "export/business_indicators.h"
#include "export/data_file_name.h"
#include "export/export_progress.h"
#include "export/goods_stock.h"
#include "export/os_name.h"
#include "export/polish_letters.h"
#include "export/sales_purchases.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/windows1250.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace tarvexio {

namespace {

const QByteArray LineEnd("\r\n");

QString infoMoment(const QDateTime& moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return QString::asprintf("%4d-%02d-%02d:%02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

} // namespace

QStringList dailyShopCodes(const TKonfigEksportu& record)
{
    QStringList codes;
    for (const tarvexio::Shop& shop : record.shopListA())
        if (const QString code = record.kodKvrForShop(shop.id);
            !code.isEmpty() && !codes.contains(code))
            codes << code;
    return codes;
}

ExportRun::ExportRun(ExportEnvironment environment)
    : env_(std::move(environment))
    , osName_(operatingSystemName())
{}

ExportRun::~ExportRun() = default;

QString DayExport::cause() const
{
    if (!missing.isEmpty())
        return missing;
    return QStringLiteral("nie powstał żaden plik (żaden sklep nie ma kodu KVR)");
}

DayExport ExportRun::shopLoop(const TKonfigEksportu& record, const ExportSettings& settings,
                              const QDate& dataDate, const QDate& today, const RunShop& runShop,
                              MadeBefore madeBefore)
{
    settings_ = settings;
    DayExport day;
    chain_ = ChainGoods(); // read again for every day: the goods may have changed
    for (const tarvexio::Shop& listed : record.shopListA()) {
        const Shop shop{listed.id, record.kodKvrForShop(listed.id),
                        listed.id == 0 ? QStringLiteral("Centrala") : listed.description};
        // Without a code every such file would be "PSHD__HD0001_..." and overwrite the others.
        if (shop.code.isEmpty()) {
            env_.log.WriteLog(
                QStringLiteral("Sklep %1 nie ma kodu KVR: plik ze sklepu za dzień %2 nie powstał")
                    .arg(shop.name, dataDate.toString(QStringLiteral("dd.MM.yyyy"))),
                settings_.unattended);
            continue;
        }
        // Each shop's day goes to the server once: a file that waits is sent, not made again.
        if (madeBefore == MadeBefore::Kept && env_.madeFiles.hasCurrentFile(dataDate, shop.code)) {
            ++day.madeBefore;
            continue;
        }
        if (const QString failure = createFile(shop, dataDate); !failure.isEmpty()) {
            if (day.missing.isEmpty())
                day.missing = failure;
            continue;
        }
        const auto procedure = [&](ExportProgress* progress) {
            runProcedure(shop, dataDate, today, progress);
        };
        written_ = false; // a progress window that fails before the run writes nothing
        if (runShop)
            runShop(procedure);
        else
            procedure(nullptr);
        if (written_) {
            env_.madeFiles.made(currentFile_);
            day.made << currentFile_;
        } else if (day.missing.isEmpty()) {
            day.missing =
                QStringLiteral("wygenerowanie pliku ze sklepu %1 nie powiodło się").arg(shop.name);
        }
    }
    return day;
}

void ExportRun::report(const QString& message)
{
    const bool unattended = settings_.unattended;
    if (unattended)
        env_.log.WriteLog(message, true);
    else
        env_.dialogs.MsgBox(
            {message, QStringLiteral("UWAGA"), MessageButtons::Ok, MessageIcon::None});
}

QString ExportRun::createFile(const Shop& shop, const QDate& dataDate)
{
    const QString directory = exchangeDirectory(settings_.directory);
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) {
        QString message = QStringLiteral("Nie znaleziono katalogu ") + directory;
        report(message);
        return message;
    }
    generationStart_ = env_.clock.now();
    currentFile_ = dataFilePath(directory, shop.code, dataDate, generationStart_);
    file_.reset();
    try {
        auto file = std::make_unique<TMFile>();
        file->SetPath(currentFile_);
        file->SetReadOnly(false);
        file->Open();
        file->SetPointer(0);
        file->SetEof();
        file_ = std::move(file);
        return {};
    } catch (const EMFileError&) {
        QString message = QStringLiteral("Błąd otwarcia pliku ") +
                          QDir::toNativeSeparators(currentFile_) +
                          QStringLiteral("\nByć może plik jest używany przez inną aplikację.");
        if (!settings_.unattended)
            env_.dialogs.MsgBox(
                {message, QStringLiteral("UWAGA"), MessageButtons::Ok, MessageIcon::None});
        env_.log.WriteLog(message, settings_.unattended);
        return message;
    }
}

void ExportRun::runProcedure(const Shop& shop, const QDate& dataDate, const QDate& today,
                             ExportProgress* progress)
{
    if (progress)
        progress->UstawTekst1(QStringLiteral("Eksport dokumentów do FK"));
    written_ = false;
    // However the body ends, no file stays open.
    const auto closeFile = qScopeGuard([this] { file_.reset(); });
    exportBody(shop, dataDate, today, progress);
}

void ExportRun::exportBody(const Shop& shop, const QDate& dataDate, const QDate& today,
                           ExportProgress* progress)
{
    const auto step = [progress](int percent, const char* text) {
        if (!progress)
            return;
        if (percent >= 0)
            progress->UstawProgress(percent);
        if (text)
            progress->UstawTekst2(QString::fromUtf8(text));
    };
    try {
        TQMXBazaDanych* session = env_.session.session();
        ExportQueries* queries = env_.session.queries();
        if (session == nullptr || queries == nullptr)
            throw EQMXDBError(QString(), EQMXDBError::NotConnected);
        RunContext run(*session, *queries, shop.id, dataDate, today);
        run.statements = statements_;
        run.chain = &chain_;
        run.consent = settings_.consent;

        step(-1, "Zbieranie informacji o sprzedaży");
        openSalesData(run);
        step(10, "Zbieranie informacji o zakupach");
        openPurchaseData(run);
        step(20, "Zbieranie informacji o towarach");
        openGoodsData(run);
        step(30, "Zbieranie informacji o stanach magazynowych");
        openStockData(run);
        step(40, "Sekcja TOW");
        buildGoodsSet(run);
        step(50, nullptr);
        writeTowSection(run);
        step(60, "Sekcja SPR");
        writeSprSection(run);
        step(70, "Sekcja ZAK");
        writeZakSection(run);
        step(80, "Sekcja MAG_N");
        writeMagSection(run);
        step(90, "Sekcja BIZ");
        writeBizSection(run);
        writeInfo(run, shop);
        writeFileLines(run.lines);
        step(100, nullptr);
        written_ = true;
    } catch (...) {
        reportResult("Wygenerowanie pliku ze sklepu %1 za dzień %2 nie powiodło się", shop,
                     dataDate);
        throw;
    }
    reportResult("Wygenerowano plik raportu ze sklepu %1 za dzień %2", shop, dataDate,
                 LineMeaning::Information);
}

// A full disk: no part of a file stays behind to be taken for a whole one.
void ExportRun::writeFileLines(const QList<QByteArray>& lines)
{
    try {
        for (const QByteArray& line : lines)
            file_->WriteLine(line, LineEnd);
        file_->Close();
        file_.reset();
    } catch (const EMFileError&) {
        file_.reset();
        QFile::remove(currentFile_);
        throw;
    }
}

void ExportRun::writeInfo(const RunContext& run, const Shop& shop)
{
    writeLine(QStringLiteral("INFO_N|NAZWA_PLIKU|KOD_SKLEPU|DATA_DANYCH|DATA_GENER_S|DATA_GENER_Z|"
                             "WERSJA|KOD_ZRODLA|IL_TOW|IL_ZAK|IL_SPR|IL_MAG|IL_BIZ|OS_NAME|"
                             "SCIEZKA_EXP|DANE_EXP|"));
    const QFileInfo file(currentFile_);
    QString name = file.fileName();
    if (const qsizetype at = name.indexOf(QStringLiteral(".DAT")); at >= 0)
        name.remove(at, 4);
    QString daneExp;
    for (const Consent box : DaneExpOrder)
        daneExp += run.ticked(box) ? u'1' : u'0';
    const QDate d = run.dataDate;
    QString info = QStringLiteral("INFO|") + name + u'|' + shop.code + u'|' +
                   QString::asprintf("%4d-%02d-%02d", d.year(), d.month(), d.day()) + u'|' +
                   infoMoment(generationStart_) + u'|' + infoMoment(env_.clock.now()) + u'|' +
                   env_.version + QStringLiteral("|QMX|") +
                   QStringLiteral("%1|%2|%3|%4|%5|")
                       .arg(run.goodsSet.size())
                       .arg(run.counts.IL_ZAK)
                       .arg(run.counts.IL_SPR)
                       .arg(run.counts.IL_MAG)
                       .arg(run.counts.IL_BIZ) +
                   osName_ + u'|' + QDir::toNativeSeparators(file.path()) + u'|' + daneExp + u'|';
    KonwertujPLString(info, PlWindows1250, PlAscii);
    writeLine(info);
}

void ExportRun::writeLine(const QString& line)
{
    file_->WriteLine(toWindows1250(line), LineEnd);
}

void ExportRun::reportResult(const char* format, const Shop& shop, const QDate& dataDate,
                             LineMeaning meaning)
{
    env_.log.WriteLog(
        QString::fromUtf8(format).arg(shop.name, dataDate.toString(QStringLiteral("dd.MM.yyyy"))),
        settings_.unattended, meaning);
}

} // namespace tarvexio
