#include "PmLineCredit.h"

#include <algorithm>

namespace pmemu
{
long PmLineCredit::available(Clock::time_point now, Millis& wait)
{
    const int pace = pace_;
    if (pace <= 0)
    {
        busy_ = false;
        return -1;
    }
    // An idle line saves up at most 10 ms, so it brings no burst. A busy one
    // (bytes left waiting) saves up all, or a late wake-up of the emulator
    // would put it behind the real line; 1 s only bounds the sum.
    const double idle = std::max(1.0, pace / 100.0);
    const double most = busy_ ? std::max(idle, static_cast<double>(pace)) : idle;
    credit_ = std::min(credit_ + std::chrono::duration<double>(now - credited_).count() * pace, most);
    credited_ = now;
    const double enough = std::min(10.0, idle);
    if (credit_ >= enough)
        return static_cast<long>(credit_);
    wait = std::chrono::ceil<Millis>(std::chrono::duration<double>((enough - credit_) / pace));
    return 0;
}

void PmLineCredit::take(size_t n, bool leftWaiting)
{
    credit_ -= static_cast<double>(n);
    busy_ = leftWaiting;
}
}
