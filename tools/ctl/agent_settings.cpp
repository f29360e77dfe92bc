#include "agent_settings.h"

#include "app/command_line.h"
#include "app/program_folder.h"
#include "app/version.h"
#include "config/configuration_file.h"
#include "config/parameter_list.h"
#include "db/session.h"
#include "export/data_file_name.h"
#include "transport/curl_ftp_client.h"
#include "transport/dial_up.h"

#include <QDir>

namespace tarvexio {

AgentSettings::AgentSettings()
    : session_(log_, QStringLiteral(TARVEXIO_VERSION),
               {[] {}, [this](const std::exception& e) { error_ = QString::fromUtf8(e.what()); },
                [this](TDmQMXWDWykazy& catalogue, bool) {
                    record_ = std::make_unique<TKonfigEksportu>(catalogue, folder_);
                }})
    , folder_(ProgramFolder())
    , configurationFile_(ConfigurationFilePath(folder_, AgentProgramFile()))
{
    session_.setRemembersConnection(false);
    // The session's own lines ("Nie udało się połączyć …") are the reason when it fails.
    log_.setEcho([this](const QString&, const QString& text, bool alert) {
        if (alert)
            error_ = text;
    });
}

bool AgentSettings::Open(const QStringList& arguments)
{
    CommandLineValues names;
    ReadArguments(arguments, names, u'.');
    if (names.databaseName.isEmpty()) {
        const DomyslnePolaczenie remembered = TQMXBazaDanych::WczytajDomyslnePolaczenie();
        names.databaseName = remembered.databaseName;
        names.userIdent = remembered.userIdent;
    }
    if (names.databaseName.isEmpty()) {
        error_ = QStringLiteral("no database: give BAZA=... IDENT=..., or set TARVEXIO_BAZA");
        return false;
    }
    session_.setNames(names.databaseName, names.userIdent);
    session_.ReopenSession();
    if (!session_.isConnected() || !record_) {
        if (error_.isEmpty())
            error_ = QStringLiteral("the database could not be read");
        return false;
    }
    SettingsStores stores = this->stores();
    if (stores.ReadsFile()) {
        source_ = QDir::toNativeSeparators(configurationFile_);
        QStringList lines;
        switch (stores.FileLines(lines)) {
        case FileLoad::Failed:
            error_ = QStringLiteral("the configuration file %1 cannot be read").arg(source_);
            return false;
        case FileLoad::Missing:
            // The agent would start on defaults; writing them back would lose the table's.
            error_ = QStringLiteral("the agent reads its settings from %1, which is missing")
                         .arg(source_);
            return false;
        case FileLoad::Loaded:
            break;
        }
        ReadParameterList(lines, *record_);
    } else {
        source_ = QStringLiteral("Konfig table");
        ReadParameterList(stores.TableLines(), *record_);
    }
    return true;
}

TParametryFtp AgentSettings::ftpParameters() const
{
    TParametryFtp parameters = record_->ftp;
    parameters.ParFolderLokalFTP = ExchangeDirectory(record_->ParEksportDir);
    return parameters;
}

TDmFtp::Ports AgentSettings::ftpPorts()
{
    return {[] { return std::make_unique<CurlFtpClient>(); }, jobClock_,
            [this] {
                return std::make_unique<DialUpConnection>(*dialUp_, jobClock_);
            }};
}

} // namespace tarvexio
