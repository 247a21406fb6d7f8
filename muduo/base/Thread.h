#pragma once
#include <atomic>
#include <functional>
#include <pthread.h>
#include <string>

#include "muduo/base/CountDownLatch.h"

namespace muduo
{
class Thread : noncopyable
{
public:
    using ThreadFunc = std::function<void()>;

    explicit Thread(ThreadFunc func, const std::string& name = std::string());
    // Detaches a thread that was started but never joined.
    ~Thread();

    // Returns once the new thread knows its tid.
    void start();
    int join();

    bool started() const { return started_; }
    int tid() const { return tid_; }
    const std::string& name() const { return name_; }

    static int numCreated() { return numCreated_.load(); }

private:
    static void* startThread(void* self);
    void runInThread();

    bool started_;
    bool joined_;
    pthread_t pthreadId_;
    int tid_;
    ThreadFunc func_;
    std::string name_;
    CountDownLatch latch_;

    static std::atomic<int> numCreated_;
};
}  // namespace muduo
