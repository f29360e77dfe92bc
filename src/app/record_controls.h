#pragma once

namespace tarvexio {

class TKonfigEksportu;
struct SettingsControls;

// Copies the record into the settings controls, with the rules of the controls: no trailing
// separator on the export directory, the hour box's range, the default-port rule.
void showRecord(TKonfigEksportu& record, SettingsControls& controls);

// The daily time as the window's boxes show it, and the scheduler takes it: 0 to 23, 0 to 59.
int shownHour(const TKonfigEksportu& record);
int shownMinute(const TKonfigEksportu& record);

// The inverse copy: what the user left in the controls becomes the record.
void gatherControls(const SettingsControls& controls, TKonfigEksportu& record);

// What the default-port box decides of other controls: it sets "21" and locks the port box
// and its arrows.
void applyEnablingRules(SettingsControls& controls);

} // namespace tarvexio
