#pragma once
#include "muduo/base/Timestamp.h"

// How often the status report's loop switches an outlet that does not follow
// (a welded relay, a module refusing the frame, its own protection switching
// the outlet off again): after each try twice as long as before, from
// kFirst up to kLongest. A new command, or the outlet following, starts over.
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
    // Starts over; returns the tries it had.
    int reset(int outlet);

private:
    static bool valid(int outlet) { return outlet >= 0 && outlet < kOutlets; }

    int tries_[kOutlets] = {};
    muduo::Timestamp next_[kOutlets];
};
