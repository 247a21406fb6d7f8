#pragma once
#include <cstdint>

namespace muduo
{
namespace CurrentThread
{
extern thread_local int t_cachedTid;
extern thread_local char t_tidString[32];
extern thread_local int t_tidStringLength;
extern thread_local const char* t_threadName;

void cacheTid();

inline int tid()
{
    if (__builtin_expect(t_cachedTid == 0, 0))
        cacheTid();
    return t_cachedTid;
}

// The thread id right-aligned in 5 columns and a blank, for log lines.
inline const char* tidString() { return t_tidString; }
inline int tidStringLength() { return t_tidStringLength; }
inline const char* name() { return t_threadName; }

bool isMainThread();
void sleepUsec(int64_t usec);
}  // namespace CurrentThread
}  // namespace muduo
