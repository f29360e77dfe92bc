#pragma once

#include "db/query.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

namespace tarvexio {

class TQMXBazaDanych;

// How the export reads what it looks up: set-based, a statement per day or per shop (the
// default), or as described, one statement per exported goods and a correlated sum per goods
// item; both write the same bytes. The described ones stay as the reference for the
// benchmark and the tests.
enum class ExportStatements { SetBased, Described };

// The fields of the goods statement's rows, looked up once and read on every row.
struct GoodsFields {
    explicit GoodsFields(TKMQuery& goods);

    TMField towId;
    TMField kod;
    TMField name;
    TMField unit;
    TMField stawka;
    TMField asId;
    TMField group;
    TMField indeks2;
};

// The goods of the whole chain with their unit and group, and their PLUs: the same for every
// shop of a day, so read once and their TOW records built once.
class ChainGoods {
public:
    // The goods data (the described statement) and every goods item's PLU in one statement.
    void load(TQMXBazaDanych& session, TKMQuery& goods);
    bool loaded() const { return loaded_; }

    qsizetype size() const { return goods_.size(); }
    qint32 TowId(qsizetype index) const { return goods_[index].id; }
    // The TOW record of the goods at that place (ascending goods identifier), as written.
    const QByteArray& towLine(qsizetype index);
    // "MAG|<id>|<EAN>|" as written: the part of a goods item's MAG record no shop changes.
    // The code is read only the first time a goods item needs one.
    const QByteArray& magPrefix(qint32 towId, const TMField& kod);

private:
    struct Goods {
        qint32 id = 0;
        QString kod;
        QString name;
        QString unit;
        qint32 stawka = 0;
        qint32 asId = 0;
        QString group;
        QString indeks2;
        QByteArray line; // built on first use
    };

    bool loaded_ = false;
    QVector<Goods> goods_;
    QHash<qint32, QString> plu_;
    QHash<qint32, QByteArray> magPrefixes_;
    QHash<QString, int> unitCodes_;
};

// The TOW record of one goods item; unitCodes caches the codes of unit names.
QString towRecord(qint32 id, const QString& kod, QString plu, const QString& name,
                  const QString& unit, qint32 stawka, qint32 asId, const QString& group,
                  const QString& indeks2, QHash<QString, int>& unitCodes);

} // namespace tarvexio
