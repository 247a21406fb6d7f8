#include "muduo/base/Condition.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace muduo
{
bool Condition::waitForSeconds(double seconds)
{
    struct timespec abstime;
    // CLOCK_REALTIME is what pthread_cond_timedwait measures by default; it is
    // a relative wait here, so only the host clock matters, not the board's.
    clock_gettime(CLOCK_REALTIME, &abstime);

    const int64_t kNanoSecondsPerSecond = 1000000000;
    int64_t nanoseconds = static_cast<int64_t>(seconds * kNanoSecondsPerSecond);
    if (nanoseconds < 0)
        nanoseconds = 0;

    abstime.tv_sec += static_cast<time_t>((abstime.tv_nsec + nanoseconds) / kNanoSecondsPerSecond);
    abstime.tv_nsec = static_cast<long>((abstime.tv_nsec + nanoseconds) % kNanoSecondsPerSecond);

    MutexLock::UnassignGuard ug(mutex_);
    return ETIMEDOUT == pthread_cond_timedwait(&pcond_, mutex_.getPthreadMutex(), &abstime);
}
}  // namespace muduo
