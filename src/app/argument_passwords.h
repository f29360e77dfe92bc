#pragma once

namespace tarvexio {

// Overwrites the password of each database name (BAZA=, or --db of the export tool) in the
// process's own argument memory, so that ps and /proc/<pid>/cmdline no longer show it. Call
// after the arguments have been copied.
void hideDatabasePasswordsInArguments(int argc, char* argv[]);

} // namespace tarvexio
