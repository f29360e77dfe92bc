#pragma once

#include "db/shop_catalogue.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace tarvexio {

// FTP's own port, what "Domyślny port FTP" stands for.
constexpr qint32 DefaultFtpPort = 21;

// The FTP and dial-up settings; every FTP job gets a copy of its own.
struct TParametryFtp {
    QString ParSerwerFTP;
    QString ParUserFTP;
    QString ParHasloFTP; // plain in memory, coded in the stores
    qint32 ParPortFTP = DefaultFtpPort;
    qint32 ParDomyslnyPortFTP = 1;
    qint32 ParTrybPasywnyFTP = 1;
    QString ParFolderFTP;
    QString ParFolderLokalFTP;
    quint8 ParPbkCzyModem = 0;
    quint8 ParCzyPlikPbk = 0;
    QString ParNazwaPlikuPbk;
    QString ParPbkEntry;
    QString ParPbkUser;
    QString ParPbkHaslo; // plain in memory, coded in the stores
};

// Every setting of the agent, with the shop lists that the KVR codes belong to.
class TKonfigEksportu {
public:
    static constexpr int ConsentCount = 10;
    static constexpr int ShopMapCapacity = 200;

    // Loads the shop lists from the catalogue and sets the defaults; programFolder is the
    // default export directory.
    TKonfigEksportu(const TDmQMXWDWykazy& catalogue, const QString& programFolder);

    // A new session brings a new catalogue: the lists are read again, values stay.
    void loadShopLists(const TDmQMXWDWykazy& catalogue);

    qint32 shopCount() const { return shopCount_; }
    const QVector<Shop>& shopListA() const { return shopListA_; }
    std::optional<int> positionOfShop(qint32 shopId) const;

    // KVR codes live with the shop id, so a reload that reorders or drops shops never moves
    // a code to another shop; a shop that comes back finds its code again.
    QString kodKvr(int position) const;
    void setKodKvr(int position, const QString& code);
    QString kodKvrForShop(qint32 shopId) const { return kvrCodes_.value(shopId); }

    TParametryFtp ftp;
    QString ParEksportDir;
    QString ParSerwis_IT;
    // ParCenySp, ParIlwMag, ParWartwMag, ParDzWartZakwCenZak, ParDzWartSprzwCenSprz,
    // ParDzWartSprzwCenZak, ParDzLPar, ParSrLPLUnaPar, ParSrWartPar, ParNIPKontrPar
    std::array<qint32, ConsentCount> consent{};
    qint32 ParAutoStart = 0;
    qint32 ParKonfigZPliku = 0;
    qint32 ParZapisKonfig = 0;
    quint16 ParGodz = 20;
    quint16 ParMin = 0;
    qint32 ParDataOstEksp = 0; // days since 30 December 1899

private:
    qint32 shopCount_ = 0;
    QVector<QPair<qint32, int>> shopIdMap_; // (shop id, position in list A), in list order
    QVector<Shop> shopListA_;
    QHash<qint32, QString> kvrCodes_;
};

// The consent parameters in the order of the record and of the "Zgoda na eksport" boxes.
enum Consent {
    ParCenySp,
    ParIlwMag,
    ParWartwMag,
    ParDzWartZakwCenZak,
    ParDzWartSprzwCenSprz,
    ParDzWartSprzwCenZak,
    ParDzLPar,
    ParSrLPLUnaPar,
    ParSrWartPar,
    ParNIPKontrPar,
};

// The ten "Zgoda na eksport" boxes, ticked or not, indexed by Consent: what the window shows
// and what an export is allowed. (The record keeps the stored numbers.)
using ConsentBoxes = std::array<bool, TKonfigEksportu::ConsentCount>;

// Day numbers count from 30 December 1899 (day 0).
QDate dayFromNumber(qint32 dayNumber);
qint32 dayNumber(const QDate& day);

} // namespace tarvexio
