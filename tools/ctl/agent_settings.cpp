#include "agent_settings.h"

#include "app/command_line.h"
#include "app/program_folder.h"
#include "app/version.h"
#include "config/configuration_file.h"
#include "config/parameter_list.h"
#include "db/session.h"
#include "export/data_file_name.h"
#include "transport/curl_ftp_client.h"
#include "transport/ftp_job_setup.h"

#include <QDir>

namespace tarvexio {

AgentSettings::AgentSettings()
    : folder_(programFolder())
    , stored_(log_, QStringLiteral(TARVEXIO_VERSION), folder_)
    , configurationFile_(configurationFilePath(folder_, agentProgramFile()))
{
    // The session's own lines ("Nie udało się połączyć …") are the reason when it fails.
    log_.setEcho([this](const QString&, const QString& text, LineMeaning meaning) {
        if (meaning == LineMeaning::Failure)
            error_ = text;
    });
}

bool AgentSettings::open(const QStringList& arguments)
{
    CommandLineValues names;
    readArguments(arguments, names, u'.');
    if (names.databaseName.isEmpty()) {
        const DomyslnePolaczenie remembered = TQMXBazaDanych::WczytajDomyslnePolaczenie();
        names.databaseName = remembered.databaseName;
        names.userIdent = remembered.userIdent;
    }
    if (names.databaseName.isEmpty()) {
        error_ = QStringLiteral("no database: give BAZA=... IDENT=..., or set TARVEXIO_BAZA");
        return false;
    }
    if (!stored_.connect(names.databaseName, names.userIdent)) {
        if (!stored_.failure().isEmpty())
            error_ = stored_.failure();
        if (error_.isEmpty())
            error_ = QStringLiteral("the database could not be read");
        return false;
    }
    return readStartStore();
}

bool AgentSettings::readStartStore()
{
    const StartSettings start = stores().readStart();
    source_ = start.fromFile ? QDir::toNativeSeparators(configurationFile_)
                             : QStringLiteral("Konfig table");
    switch (start.load) {
    case FileLoad::Failed:
        error_ = QStringLiteral("the configuration file %1 cannot be read").arg(source_);
        return false;
    case FileLoad::Missing:
        // The agent would start on defaults; writing them back would lose the table's.
        error_ =
            QStringLiteral("the agent reads its settings from %1, which is missing").arg(source_);
        return false;
    case FileLoad::Loaded:
        break;
    }
    readParameterList(start.lines, record());
    return true;
}

TParametryFtp AgentSettings::ftpParameters()
{
    return ftpJobParameters(record(), exchangeDirectory(record().ParEksportDir));
}

TDmFtp::Ports AgentSettings::ftpPorts()
{
    return ftpJobPorts([] { return std::make_unique<CurlFtpClient>(); }, jobClock_, *dialUp_);
}

} // namespace tarvexio
