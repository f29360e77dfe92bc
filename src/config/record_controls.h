#pragma once

namespace tarvexio {

class TKonfigEksportu;
struct SettingsControls;

// Copies the record into the settings controls, with the rules of the controls: no trailing
// separator on the export directory, the hour box's range, the default-port rule.
void ShowRecord(TKonfigEksportu& record, SettingsControls& controls);

// The inverse copy: what the user left in the controls becomes the record.
void GatherControls(const SettingsControls& controls, TKonfigEksportu& record);

// Whether the port box and its arrows may be edited follows the default-port box.
void ApplyDefaultPortRule(SettingsControls& controls);

} // namespace tarvexio
