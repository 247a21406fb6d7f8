#include "PmChatter.h"

#include <algorithm>

#include "PmReplyWriter.h"

namespace pmemu
{
void PmChatter::set(uint8_t port, uint8_t action, Millis every, Clock::time_point now)
{
    every_ = std::max(every, Millis(0));
    reply_ = PmReplyWriter::relay(port, action, 0);
    next_ = now + every_;
}

bool PmChatter::take(Clock::time_point now, Bytes& reply, Clock::time_point& due)
{
    if (!on() || now < next_)
        return false;
    due = next_;
    // On time, the beat holds; late, it starts over rather than bursting.
    next_ += every_;
    if (next_ <= now)
        next_ = now + every_;
    reply = reply_;
    return true;
}

PmChatter::Millis PmChatter::until(Clock::time_point now, Millis most) const
{
    if (!on())
        return most;
    return std::clamp(std::chrono::ceil<Millis>(next_ - now), Millis(0), most);
}
}
