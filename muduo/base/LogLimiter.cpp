#include "muduo/base/LogLimiter.h"

namespace muduo
{
namespace
{
thread_local LogLimiter* t_current = nullptr;
}

bool LogLimiter::allow(Timestamp now, int64_t* suppressed)
{
    // A clock that went back starts a new interval as well.
    if (written_ == 0 || now < windowStart_ || timeDifference(now, windowStart_) >= interval_)
    {
        windowStart_ = now;
        written_ = 0;
    }
    if (written_ >= lines_)
    {
        ++suppressed_;
        return false;
    }
    ++written_;
    if (suppressed)
        *suppressed = suppressed_;
    suppressed_ = 0;
    return true;
}

std::string LogLimiter::note(int64_t suppressed)
{
    return suppressed > 0 ? " (" + std::to_string(suppressed) + " similar lines suppressed)" : std::string();
}

LogLimiter::Scope::Scope(LogLimiter& limiter) : outer_(t_current) { t_current = &limiter; }

LogLimiter::Scope::~Scope() { t_current = outer_; }

LogLimiter* LogLimiter::current() { return t_current; }
}  // namespace muduo
