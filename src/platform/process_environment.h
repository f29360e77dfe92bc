#pragma once

namespace tarvexio {

// Standard output is the systemd journal's stream: JOURNAL_STREAM names its device and inode
// (a terminal that merely inherited the variable from a desktop session is not the journal).
bool stdoutIsJournal();

// No display to open windows on: no DISPLAY or WAYLAND_DISPLAY on Linux; never on Windows.
bool noDisplay();

} // namespace tarvexio
