#pragma once

namespace tarvexio {

// Core dumps off (they would hold the database password) and every file or folder the process
// creates private to its user and group (umask 027). Nothing on Windows.
void keepProcessPrivate();

} // namespace tarvexio
