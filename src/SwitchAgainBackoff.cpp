#include "SwitchAgainBackoff.h"

#include <algorithm>
#include <cmath>
#include <utility>

const double SwitchAgainBackoff::kFirst = 0.5;
const double SwitchAgainBackoff::kLongest = 60.0;

namespace
{
// A report comes every kFirst: one a little early still finds the time up.
const double kEarly = 0.1;
}

bool SwitchAgainBackoff::due(int outlet, muduo::Timestamp now) const
{
    return valid(outlet) && (!next_[outlet].valid() || !(now < next_[outlet]));
}

int SwitchAgainBackoff::tried(int outlet, muduo::Timestamp now)
{
    if (!valid(outlet))
        return 0;
    const int n = ++tries_[outlet];
    const double wait = std::min(kFirst * std::ldexp(1.0, std::min(n - 1, 16)), kLongest);
    next_[outlet] = muduo::addTime(now, wait - kEarly);
    followingSince_[outlet] = muduo::Timestamp::invalid();
    return n;
}

int SwitchAgainBackoff::followed(int outlet, muduo::Timestamp now)
{
    if (!valid(outlet) || tries_[outlet] == 0)
        return 0;
    if (!followingSince_[outlet].valid())
        followingSince_[outlet] = now;
    if (muduo::timeDifference(now, followingSince_[outlet]) < kLongest - kEarly)
        return 0;
    return reset(outlet);
}

void SwitchAgainBackoff::strayed(int outlet)
{
    if (valid(outlet))
        followingSince_[outlet] = muduo::Timestamp::invalid();
}

int SwitchAgainBackoff::reset(int outlet)
{
    if (!valid(outlet))
        return 0;
    next_[outlet] = muduo::Timestamp::invalid();
    followingSince_[outlet] = muduo::Timestamp::invalid();
    return std::exchange(tries_[outlet], 0);
}
