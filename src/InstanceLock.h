#pragma once
#include "muduo/base/noncopyable.h"

// Keeps a second daemon from starting: an exclusive flock on a file that
// the kernel releases however the holder ends.
class InstanceLock : muduo::noncopyable
{
public:
    static const char* const kLockFile;

    InstanceLock();
    ~InstanceLock();

    // Never waits; false when another process holds the lock or the file
    // could not be opened.
    bool lock();
    void unlock();

private:
    int fd_;
    bool locked_;
};
