#pragma once
#include <string>

// The unit's absolute paths (/dev/ttyS10, /var/www/database/pdu.db, ...) live
// below $RAILBOX_ROOT when it is set, so the daemon can run on a simulated
// board without touching the host's devices.
namespace board
{
// The board root without a trailing slash; empty on the real unit.
const std::string& root();
bool simulated();
// Maps an absolute board path below the root; other paths pass unchanged.
std::string path(const std::string& absolute);
// Runs a shell command as the unit would; under a board root PATH is
// $ROOT/bin alone, so only the board's stand-ins of reboot, hwclock and
// friends can run, never the host's.
int runCommand(const std::string& command);
}
