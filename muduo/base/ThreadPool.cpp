#include "muduo/base/ThreadPool.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace muduo
{
ThreadPool::ThreadPool(const std::string& nameArg)
    : mutex_(), notEmpty_(mutex_), notFull_(mutex_), name_(nameArg), maxQueueSize_(0), running_(false)
{
}

ThreadPool::~ThreadPool()
{
    if (running_)
        stop();
}

void ThreadPool::start(int numThreads)
{
    assert(threads_.empty());
    running_ = true;
    threads_.reserve(static_cast<size_t>(numThreads > 0 ? numThreads : 0));
    for (int i = 0; i < numThreads; ++i)
    {
        char id[32];
        snprintf(id, sizeof id, "%d", i + 1);
        threads_.emplace_back(new Thread(std::bind(&ThreadPool::runInThread, this), name_ + id));
        threads_[static_cast<size_t>(i)]->start();
    }
    if (numThreads == 0 && threadInitCallback_)
        threadInitCallback_();
}

void ThreadPool::stop()
{
    {
        MutexLockGuard lock(mutex_);
        running_ = false;
        notEmpty_.notifyAll();
        notFull_.notifyAll();
    }
    for (auto& thr : threads_)
        thr->join();
}

size_t ThreadPool::queueSize() const
{
    MutexLockGuard lock(mutex_);
    return queue_.size();
}

void ThreadPool::run(Task task)
{
    if (threads_.empty())
    {
        task();
        return;
    }
    MutexLockGuard lock(mutex_);
    while (isFull() && running_)
        notFull_.wait();
    if (!running_)
        return;
    queue_.push_back(std::move(task));
    notEmpty_.notify();
}

ThreadPool::Task ThreadPool::take()
{
    MutexLockGuard lock(mutex_);
    while (queue_.empty() && running_)
        notEmpty_.wait();
    Task task;
    if (running_ && !queue_.empty())
    {
        task = std::move(queue_.front());
        queue_.pop_front();
        if (maxQueueSize_ > 0)
            notFull_.notify();
    }
    return task;
}

bool ThreadPool::isFull() const
{
    mutex_.assertLocked();
    return maxQueueSize_ > 0 && queue_.size() >= maxQueueSize_;
}

void ThreadPool::runInThread()
{
    try
    {
        if (threadInitCallback_)
            threadInitCallback_();
        // take() returns an empty task only once the pool stops.
        while (Task task = take())
            task();
    }
    catch (const std::exception& ex)
    {
        fprintf(stderr, "exception caught in ThreadPool %s\nreason: %s\n", name_.c_str(), ex.what());
        abort();
    }
}
}  // namespace muduo
