#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>

namespace board
{
namespace
{
std::string offsetFile() { return path("/var/lib/railbox/clock_offset"); }

int64_t loadOffset()
{
    if (!simulated())
        return 0;
    long long value = 0;
    if (FILE* f = ::fopen(offsetFile().c_str(), "r"))
    {
        if (::fscanf(f, "%lld", &value) != 1)
            value = 0;
        ::fclose(f);
    }
    return value;
}

void storeOffset(int64_t value)
{
    for (const char* dir : {"/var", "/var/lib", "/var/lib/railbox"})
        ::mkdir(path(dir).c_str(), 0755);
    std::string tmp = offsetFile() + ".tmp";
    if (FILE* f = ::fopen(tmp.c_str(), "w"))
    {
        ::fprintf(f, "%lld\n", static_cast<long long>(value));
        ::fclose(f);
        ::rename(tmp.c_str(), offsetFile().c_str());
    }
}

std::atomic<int64_t>& offset()
{
    static std::atomic<int64_t> value{loadOffset()};
    return value;
}

struct Listeners
{
    std::mutex mutex;
    std::map<int, ClockListener> map;
    int next = 0;
};

Listeners& listeners()
{
    static Listeners* l = new Listeners;  // outlives static destructors of other users
    return *l;
}

int64_t hostMicros()
{
    struct timeval tv;
    ::gettimeofday(&tv, nullptr);
    return static_cast<int64_t>(tv.tv_sec) * 1000000 + tv.tv_usec;
}
}

int64_t wallClockMicros() { return hostMicros() + offset().load(std::memory_order_relaxed); }

int64_t wallClockOffsetMicros() { return offset().load(std::memory_order_relaxed); }

bool setWallClock(int64_t micros)
{
    if (simulated())
    {
        int64_t value = micros - hostMicros();
        offset().store(value);
        storeOffset(value);
    }
    else
    {
        struct timeval tv;
        tv.tv_sec = static_cast<time_t>(micros / 1000000);
        tv.tv_usec = static_cast<suseconds_t>(micros % 1000000);
        if (::settimeofday(&tv, nullptr) != 0)
            return false;
    }
    std::map<int, ClockListener> copy;
    {
        std::lock_guard<std::mutex> lock(listeners().mutex);
        copy = listeners().map;
    }
    for (auto& entry : copy)
        entry.second();
    return true;
}

int addClockListener(ClockListener listener)
{
    std::lock_guard<std::mutex> lock(listeners().mutex);
    int id = ++listeners().next;
    listeners().map[id] = std::move(listener);
    return id;
}

void removeClockListener(int id)
{
    std::lock_guard<std::mutex> lock(listeners().mutex);
    listeners().map.erase(id);
}

int minuteSeconds()
{
    static const int seconds = [] {
        int value = 60;
        if (!simulated())
            return value;
        if (FILE* f = ::fopen(path("/var/lib/railbox/minute_seconds").c_str(), "r"))
        {
            if (::fscanf(f, "%d", &value) != 1 || value < 1 || value > 60)
                value = 60;
            ::fclose(f);
        }
        return value;
    }();
    return seconds;
}
}
