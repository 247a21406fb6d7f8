#pragma once
#include "muduo/base/noncopyable.h"

// The buzzer. Each call is one driver request of (count, on time, off time);
// a count of -1 beeps until the next request, three zeros stop it.
class BeeperModule : muduo::noncopyable
{
public:
    static const char* const kDevName;
    // _IOW('b', 1, int[3])
    static constexpr unsigned long kBeepRequest = 0x400C6201;

    BeeperModule();
    ~BeeperModule();

    bool beepCount(int count, int on, int off);
    bool beep(int count, int on, int off);
    bool beepForever(int on, int off);
    bool stop();

private:
    void request(int count, int on, int off);

    int fd_;
};
