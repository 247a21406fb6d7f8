#pragma once
#include "muduo/base/Timestamp.h"

// How often the status report's loop switches an outlet that does not follow
// (a welded relay, a module refusing the frame, a load whose protection
// switches the outlet off a while after each on): after each try twice as
// long as before, from kFirst up to kLongest. A new command starts over; so
// does the outlet staying as asked, report after report, for kLongest, so a
// load tripping at any delay up to that is not switched on again at once.
class SwitchAgainBackoff
{
public:
    static constexpr int kOutlets = 8;
    static const double kFirst;
    static const double kLongest;

    // True when the outlet may be tried again at now (monotonic).
    bool due(int outlet, muduo::Timestamp now) const;
    // Counts a try at now; returns its number, from 1.
    int tried(int outlet, muduo::Timestamp now);
    int tries(int outlet) const { return valid(outlet) ? tries_[outlet] : 0; }
    // A report at now found the outlet as asked: once it has been, with no
    // report between finding it otherwise, for kLongest, starts over and
    // returns the tries it had; else 0.
    int followed(int outlet, muduo::Timestamp now);
    // A report found the outlet otherwise than asked: its run as asked ends.
    void strayed(int outlet);
    // A new command: starts over; returns the tries it had.
    int reset(int outlet);

private:
    static bool valid(int outlet) { return outlet >= 0 && outlet < kOutlets; }

    int tries_[kOutlets] = {};
    muduo::Timestamp next_[kOutlets];
    muduo::Timestamp followingSince_[kOutlets];  // the first report of its run as asked
};
