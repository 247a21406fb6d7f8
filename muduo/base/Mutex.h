#pragma once
#include <cassert>
#include <pthread.h>

#include "muduo/base/CurrentThread.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
// A pthread mutex that remembers its holder, so code can assert ownership.
class MutexLock : noncopyable
{
public:
    MutexLock() : holder_(0) { pthread_mutex_init(&mutex_, nullptr); }
    ~MutexLock()
    {
        assert(holder_ == 0);
        pthread_mutex_destroy(&mutex_);
    }

    bool isLockedByThisThread() const { return holder_ == CurrentThread::tid(); }
    void assertLocked() const { assert(isLockedByThisThread()); }

    void lock()
    {
        pthread_mutex_lock(&mutex_);
        assignHolder();
    }
    void unlock()
    {
        unassignHolder();
        pthread_mutex_unlock(&mutex_);
    }

    pthread_mutex_t* getPthreadMutex() { return &mutex_; }

private:
    friend class Condition;

    // Condition::wait releases the mutex; these keep the holder honest.
    class UnassignGuard : noncopyable
    {
    public:
        explicit UnassignGuard(MutexLock& owner) : owner_(owner) { owner_.unassignHolder(); }
        ~UnassignGuard() { owner_.assignHolder(); }

    private:
        MutexLock& owner_;
    };

    void unassignHolder() { holder_ = 0; }
    void assignHolder() { holder_ = CurrentThread::tid(); }

    pthread_mutex_t mutex_;
    int holder_;
};

class MutexLockGuard : noncopyable
{
public:
    explicit MutexLockGuard(MutexLock& mutex) : mutex_(mutex) { mutex_.lock(); }
    ~MutexLockGuard() { mutex_.unlock(); }

private:
    MutexLock& mutex_;
};
}  // namespace muduo

