#pragma once
#include "muduo/base/noncopyable.h"

// A watchdog the daemon feeds; the board resets when the feeding stops.
class Watchdog : muduo::noncopyable
{
public:
    virtual ~Watchdog() = default;
    virtual bool open() = 0;
    virtual void feed() = 0;
};
