#include "app/record_controls.h"

#include "config/parameter_lines.h"
#include "config/settings_record.h"
#include "model/window_model.h"
#include "platform/paths.h"

#include <algorithm>

namespace tarvexio {

void applyEnablingRules(SettingsControls& controls)
{
    if (controls.cb_DomyslnyPortFTP)
        controls.ed_portFTP = QString::number(DefaultFtpPort);
    controls.portEnabled = !controls.cb_DomyslnyPortFTP;
}

int shownHour(const TKonfigEksportu& record)
{
    return std::clamp(int(record.ParGodz), 0, 23);
}

int shownMinute(const TKonfigEksportu& record)
{
    return std::clamp(int(record.ParMin), 0, 59);
}

void showRecord(TKonfigEksportu& record, SettingsControls& controls)
{
    record.ParEksportDir = withoutTrailingSeparator(record.ParEksportDir);
    controls.EdKatalogWymiany = record.ParEksportDir;
    controls.EdSerwis_IT = record.ParSerwis_IT;
    controls.CSGodzEdit = shownHour(record);
    controls.CSMinEdit = shownMinute(record);
    for (int i = 0; i < TKonfigEksportu::ConsentCount; ++i)
        controls.consent[i] = record.consent[i] != 0;
    controls.DataOstatniegoEksportu = dayFromNumber(record.ParDataOstEksp);
    controls.CBAutoStart = record.ParAutoStart != 0;
    controls.CBZapisKonfig = record.ParZapisKonfig;
    controls.CBKonfigZPliku = record.ParKonfigZPliku != 0;

    const TParametryFtp& ftp = record.ftp;
    controls.ed_hostFTP = ftp.ParSerwerFTP;
    controls.ed_userFTP = ftp.ParUserFTP;
    controls.ed_hasloFTP = ftp.ParHasloFTP;
    controls.ed_folderFTP = ftp.ParFolderFTP;
    controls.ed_portFTP = QString::number(ftp.ParPortFTP);
    controls.cb_DomyslnyPortFTP = ftp.ParDomyslnyPortFTP != 0;
    controls.CbPlikPBK = ftp.ParCzyPlikPbk != 0;
    controls.EdPlikPBK = ftp.ParNazwaPlikuPbk;
    controls.cb_PbkCzyModem = ftp.ParPbkCzyModem != 0;
    controls.Cb_PbkEntry = ftp.ParPbkEntry;
    controls.ed_UzytkownikPbk = ftp.ParPbkUser;
    controls.ed_HasloPbk = ftp.ParPbkHaslo;

    if (controls.cb_DomyslnyPortFTP)
        record.ftp.ParPortFTP = DefaultFtpPort;
    applyEnablingRules(controls);
}

void gatherControls(const SettingsControls& controls, TKonfigEksportu& record)
{
    record.ParEksportDir = withoutTrailingSeparator(controls.EdKatalogWymiany);
    record.ParSerwis_IT = controls.EdSerwis_IT;
    record.ParGodz = static_cast<quint16>(controls.CSGodzEdit);
    record.ParMin = static_cast<quint16>(controls.CSMinEdit);
    for (int i = 0; i < TKonfigEksportu::ConsentCount; ++i)
        record.consent[i] = controls.consent[i] ? 1 : 0;
    record.ParDataOstEksp = dayNumber(controls.DataOstatniegoEksportu);
    record.ParAutoStart = controls.CBAutoStart ? 1 : 0;
    record.ParZapisKonfig = controls.CBZapisKonfig;
    record.ParKonfigZPliku = controls.CBKonfigZPliku ? 1 : 0;

    TParametryFtp& ftp = record.ftp;
    ftp.ParSerwerFTP = controls.ed_hostFTP;
    ftp.ParUserFTP = controls.ed_userFTP;
    ftp.ParHasloFTP = controls.ed_hasloFTP;
    ftp.ParFolderFTP = controls.ed_folderFTP;
    ftp.ParPortFTP = parameterNumber(controls.ed_portFTP, DefaultFtpPort);
    ftp.ParDomyslnyPortFTP = controls.cb_DomyslnyPortFTP ? 1 : 0;
    ftp.ParTrybPasywnyFTP = 1;
    ftp.ParCzyPlikPbk = controls.CbPlikPBK ? 1 : 0;
    ftp.ParNazwaPlikuPbk = controls.EdPlikPBK;
    ftp.ParPbkCzyModem = controls.cb_PbkCzyModem ? 1 : 0;
    ftp.ParPbkEntry = controls.Cb_PbkEntry;
    ftp.ParPbkUser = controls.ed_UzytkownikPbk;
    ftp.ParPbkHaslo = controls.ed_HasloPbk;
}

} // namespace tarvexio
