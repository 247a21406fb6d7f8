#include "muduo/base/CurrentThread.h"

#include <cstdio>
#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

namespace muduo
{
namespace CurrentThread
{
thread_local int t_cachedTid = 0;
thread_local char t_tidString[32];
thread_local int t_tidStringLength = 6;
thread_local const char* t_threadName = "unknown";

void cacheTid()
{
    if (t_cachedTid == 0)
    {
        t_cachedTid = static_cast<int>(::syscall(SYS_gettid));
        t_tidStringLength = snprintf(t_tidString, sizeof t_tidString, "%5d ", t_cachedTid);
    }
}

bool isMainThread() { return tid() == ::getpid(); }

void sleepUsec(int64_t usec)
{
    struct timespec ts = {0, 0};
    ts.tv_sec = static_cast<time_t>(usec / 1000000);
    ts.tv_nsec = static_cast<long>(usec % 1000000 * 1000);
    ::nanosleep(&ts, nullptr);
}
}  // namespace CurrentThread
}  // namespace muduo
