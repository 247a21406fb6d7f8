#include "muduo/base/LogLimiter.h"

namespace muduo
{
bool LogLimiter::allow(Timestamp now, int64_t* suppressed)
{
    if (written_ && now >= last_ && timeDifference(now, last_) < interval_)
    {
        ++suppressed_;
        return false;
    }
    if (suppressed)
        *suppressed = suppressed_;
    suppressed_ = 0;
    written_ = true;
    last_ = now;
    return true;
}

std::string LogLimiter::note(int64_t suppressed)
{
    return suppressed > 0 ? " (" + std::to_string(suppressed) + " similar lines suppressed)" : std::string();
}
}  // namespace muduo
