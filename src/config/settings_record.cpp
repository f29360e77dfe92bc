#include "config/settings_record.h"

#include "platform/paths.h"

namespace tarvexio {

namespace {

const QDate DayZero(1899, 12, 30);

} // namespace

QDate dayFromNumber(qint32 dayNumber)
{
    return DayZero.addDays(dayNumber);
}

qint32 dayNumber(const QDate& day)
{
    return static_cast<qint32>(DayZero.daysTo(day));
}

TKonfigEksportu::TKonfigEksportu(const TDmQMXWDWykazy& catalogue, const QString& programFolder)
    : ParEksportDir(programFolder)
{
    loadShopLists(catalogue);
    consent.fill(1);
    // Sales at purchase prices reveal the chain's margins: that one leaves only when asked for.
    consent[ParDzWartSprzwCenZak] = 0;
    ParEksportDir = withoutTrailingSeparator(ParEksportDir);
}

void TKonfigEksportu::loadShopLists(const TDmQMXWDWykazy& catalogue)
{
    shopListA_ = catalogue.getSklepy();
    shopCount_ = static_cast<qint32>(shopListA_.size());
    shopIdMap_.clear();
    shopIdMap_.reserve(std::max(int(shopListA_.size()), ShopMapCapacity));
    for (int position = 0; position < shopListA_.size(); ++position)
        shopIdMap_.append({shopListA_[position].id, position});
}

std::optional<int> TKonfigEksportu::positionOfShop(qint32 shopId) const
{
    for (const auto& [id, position] : shopIdMap_) {
        if (id == shopId)
            return position;
    }
    return std::nullopt;
}

QString TKonfigEksportu::kodKvr(int position) const
{
    if (position < 0 || position >= shopListA_.size())
        return {};
    return kvrCodes_.value(shopListA_[position].id);
}

void TKonfigEksportu::setKodKvr(int position, const QString& code)
{
    if (position >= 0 && position < shopListA_.size())
        kvrCodes_.insert(shopListA_[position].id, code);
}

} // namespace tarvexio
