#pragma once

#include <QString>
#include <QVector>

namespace tarvexio {

class TQMXBazaDanych;

struct Shop {
    qint32 id = 0; // 0 is the head office
    QString description;
};

// The chain's shops as the database lists them: by description, then id, the same order at
// every load. The handle on which the settings record builds its shop lists.
class TDmQMXWDWykazy {
public:
    explicit TDmQMXWDWykazy(TQMXBazaDanych& session);

    TQMXBazaDanych& getSession() const { return session_; }

    // Reads the shop list; raises EQMXDBError when the database cannot give it.
    void WczytajKonfiguracje();
    const QVector<Shop>& getSklepy() const { return shops_; }

private:
    TQMXBazaDanych& session_;
    QVector<Shop> shops_;
};

} // namespace tarvexio
