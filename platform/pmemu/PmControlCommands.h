#pragma once
#include <string>

namespace pmemu
{
class PowerModuleEmulator;

// The emulator's line-based control language, one command per line:
//   voltage V|auto | current PORT A|auto | power PORT W|auto | pf PORT F |
//   energy PORT KWH | energy-rate F | relay PORT on|off |
//   stuck PORT on|off|free | drift voltage|OUTLET F | silent on|off |
//   delay MS | corrupt N | split BYTES GAP_MS |
//   pace BYTES_PER_SECOND [REPLY_BYTES_PER_SECOND] | hold on|off |
//   trip OUTLET MS|off | chatter OUTLET on|off MS | chatter off | status
// PORT is 0 to 7 or "inlet" (255), OUTLET 0 to 7: the module counts its
// outlets from 0, so PORT 3 is the fourth outlet, "outlet 4" to the unit's
// users. A voltage or current set holds until set again; "voltage auto"
// returns to the nominal 230 V, "current N auto" to outlet N's own load on
// the board (PmMeterModel::kBoardAmps; the inlet's to the sum). drift
// is the board's slow wander: it multiplies the set voltage, or an outlet's
// set current, by F (0.9 to 1.1). stuck welds an outlet's relay on or
// holds it off: relay frames for it are answered as done and change
// nothing until "stuck PORT free" ("relay" still moves it). pace is the
// line's, both ways (0 to 1000000; 1920 is 19200 baud, 0 answers at once),
// or with a second value the replies' apart ("pace 1920 1728": a module
// answering at 90%); held replies wait, in order, until "hold off". trip
// makes an outlet's load trip: MS after each relay frame switching it on,
// the outlet goes off by itself ("relay" arms nothing). chatter puts an
// unasked relay reply for OUTLET (action on|off, result 0) on the line
// every MS. MS is a whole number below 10000000; 0 is the same as off. The
// answer is "ok", "error: ..." or, for status, the status line.
class PmControlCommands
{
public:
    static std::string execute(PowerModuleEmulator& emulator, const std::string& line);
    // "relays=10000001 voltage=230.00 inlet=1.50A,345.00W,12.34kWh requests=42
    // pace=1920/1728 held=0": the line's pace and the replies', 0 for at once
    // (relay digits in outlet order 0 to 7).
    static std::string status(PowerModuleEmulator& emulator);
};
}
