#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "muduo/base/Condition.h"
#include "muduo/base/Mutex.h"
#include "muduo/base/Thread.h"

namespace muduo
{
class ThreadPool : noncopyable
{
public:
    using Task = std::function<void()>;

    explicit ThreadPool(const std::string& nameArg = std::string("ThreadPool"));
    ~ThreadPool();

    // 0 means unbounded. Call before start().
    void setMaxQueueSize(int maxSize) { maxQueueSize_ = maxSize > 0 ? static_cast<size_t>(maxSize) : 0; }
    void setThreadInitCallback(const Task& cb) { threadInitCallback_ = cb; }

    // With 0 threads, run() executes each task on the caller's thread.
    void start(int numThreads);
    // Wakes the workers and joins them; tasks still queued are dropped.
    void stop();

    const std::string& name() const { return name_; }
    size_t queueSize() const;

    // Blocks while the queue is full.
    void run(Task f);

private:
    bool isFull() const;
    void runInThread();
    Task take();

    mutable MutexLock mutex_;
    Condition notEmpty_;
    Condition notFull_;
    std::string name_;
    Task threadInitCallback_;
    std::vector<std::unique_ptr<Thread>> threads_;
    std::deque<Task> queue_;
    size_t maxQueueSize_;
    bool running_;
};
}  // namespace muduo
