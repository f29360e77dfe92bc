#pragma once

// A demo chain for the real agent, headless and unattended, against an FTP server on 127.0.0.1
// with periods shortened by its command line.
#include "config/settings_record.h"
#include "support/agent_process.h"
#include "support/files.h"
#include "support/test_database.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace tarvexio::test {

inline const QDate Today = QDate::currentDate();

inline QString dayText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyyMMdd"));
}

// A small demo chain that carries the agent's settings: shop codes K1, K2, ..., the server,
// and the last exported day.
struct Chain {
    Chain(int shops, quint16 port, const QDate& lastExported)
        : exchange(home.filePath(QStringLiteral("wymiana")))
        , database(home.filePath(QStringLiteral("qmx.db")))
    {
        QDir().mkpath(exchange);
        QStringList arguments{"--shops", QString::number(shops), "--goods", "30", "--days", "10"};
        QStringList settings =
            QStringLiteral("ParEksportDir=%1 ParSerwerFTP=127.0.0.1 ParPortFTP=%2 "
                           "ParDomyslnyPortFTP=0 ParUserFTP=tarvexio ParHasloFTP=haslo "
                           "ParFolderFTP=./ ParDataOstEksp=%3")
                .arg(exchange)
                .arg(port)
                .arg(dayNumber(lastExported))
                .split(u' ');
        for (int shop = 1; shop <= shops; ++shop)
            settings << QStringLiteral("ParKodKVR#%1=K%1").arg(shop);
        for (const QString& setting : settings)
            arguments << "--setting" << setting;
        created = QProcess::execute(qEnvironmentVariable("TARVEXIO_DEMO_DB_BINARY"),
                                    arguments << database) == 0;
    }

    QStringList agentArguments() const
    {
        return ("BAZA=" + database +
                " IDENT=test PIERWSZE_POLACZENIE_PO_N_S=0 SPRAWDAJ_CO_N_H=0,0001 "
                "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0,0002 MAX_LICZBA_PROBFTP=2")
            .split(u' ');
    }
    QString log() const { return readAgentLog(home.path()); }
    QDate lastExportedDay() const
    {
        const QString row = konfigRows(database).filter(u"ParDataOstEksp=").value(0);
        return dayFromNumber(row.section(u'=', 1).toInt());
    }

    QTemporaryDir home;
    QString exchange;
    QString database;
    bool created = false;
};

// The days of the data files in a folder, one entry per file ("K1 20261205").
inline QStringList dataFiles(const QString& folder)
{
    QStringList found;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.DAT")}, QDir::Files))
        found << name.section(u'_', 1, 1) + u' ' + name.section(u'_', 3, 3);
    found.sort();
    return found;
}

inline QStringList expected(const QStringList& codes, const QList<QDate>& days)
{
    QStringList expected;
    for (const QString& code : codes) {
        for (const QDate& day : days)
            expected << code + u' ' + dayText(day);
    }
    expected.sort();
    return expected;
}

} // namespace tarvexio::test
