#pragma once

#include <QString>

namespace tarvexio {

class AutostartStore;
struct AutostartCommand;

// The agent's own start-with-the-system entry, "QMX2KVR".
class AutostartEntry {
public:
    static constexpr const char* EntryName = "QMX2KVR";

    explicit AutostartEntry(AutostartStore& store)
        : store_(store)
    {}

    bool check() const;
    // The command that starts this program unattended on this database.
    void write(const QString& programFilePath, const QString& databaseName,
               const QString& userIdent, bool testMode);
    void Delete();
    // At the load at start: writes a missing entry or deletes an unwanted one; an existing
    // entry is never rewritten.
    void synchronise(bool wanted, const QString& programFilePath, const QString& databaseName,
                     const QString& userIdent, bool testMode);

    static AutostartCommand command(const QString& programFilePath, const QString& databaseName,
                                    const QString& userIdent, bool testMode);

private:
    AutostartStore& store_;
};

} // namespace tarvexio
