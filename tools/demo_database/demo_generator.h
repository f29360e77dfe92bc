#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace tarvexio::demo {

struct DemoOptions {
    int shops = 5;
    int goods = 2000;
    int days = 14;
    QDate lastDay; // the last day with documents
    quint64 seed = 1;
    // The agent's settings (name, value) for its Konfig group; passwords plain, stored coded.
    QList<QPair<QString, QString>> settings;
};

// Fills an empty database that already has the schema with a chain's data. The same options
// give the same rows. progress receives short Polish status lines.
void generateDemoData(QSqlDatabase& db, const DemoOptions& options,
                      const std::function<void(const QString&)>& progress);

// Creates a new SQLite file (replacing none: the path must not exist) with the schema and
// the data. Builds into a temporary file so that a broken run leaves nothing half-made.
void createDemoDatabase(const QString& path, const DemoOptions& options,
                        const std::function<void(const QString&)>& progress);

} // namespace tarvexio::demo
