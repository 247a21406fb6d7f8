#pragma once
#include <any>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "muduo/base/CurrentThread.h"
#include "muduo/base/Mutex.h"
#include "muduo/base/Timestamp.h"
#include "muduo/net/Callbacks.h"
#include "muduo/net/TimerId.h"

namespace muduo
{
namespace net
{
class Channel;
class Poller;
class TimerQueue;

// Reactor, one per thread. Timers live in two queues: delays and periods on
// the monotonic clock, times of day on the wall clock.
class EventLoop : noncopyable
{
public:
    typedef std::function<void()> Functor;

    EventLoop();
    ~EventLoop();

    // Runs until quit(); must be called on the loop's own thread.
    void loop();
    // Safe from any thread; the loop may finish its current pass first.
    void quit();

    Timestamp pollReturnTime() const { return pollReturnTime_; }
    int64_t iteration() const { return iteration_; }

    // Runs cb now on the loop thread, else queues it and wakes the loop.
    void runInLoop(Functor cb);
    // Always queues; queued functors run after the I/O callbacks of a pass.
    void queueInLoop(Functor cb);
    size_t queueSize() const;

    // Wall-clock time of day.
    TimerId runAt(Timestamp time, TimerCallback cb);
    // Monotonic delay / period in seconds.
    TimerId runAfter(double delay, TimerCallback cb);
    TimerId runEvery(double interval, TimerCallback cb);
    void cancel(TimerId timerId);

    void wakeup();
    void updateChannel(Channel* channel);
    void removeChannel(Channel* channel);
    bool hasChannel(Channel* channel);

    void assertInLoopThread()
    {
        if (!isInLoopThread())
            abortNotInLoopThread();
    }
    bool isInLoopThread() const { return threadId_ == CurrentThread::tid(); }
    bool eventHandling() const { return eventHandling_; }

    void setContext(const std::any& context) { context_ = context; }
    const std::any& getContext() const { return context_; }
    std::any* getMutableContext() { return &context_; }

    static EventLoop* getEventLoopOfCurrentThread();

private:
    void abortNotInLoopThread();
    void handleRead();  // wake-up
    void doPendingFunctors();

    typedef std::vector<Channel*> ChannelList;

    bool looping_;
    std::atomic<bool> quit_;
    bool eventHandling_;
    bool callingPendingFunctors_;
    int64_t iteration_;
    const int threadId_;
    Timestamp pollReturnTime_;
    std::unique_ptr<Poller> poller_;
    std::unique_ptr<TimerQueue> monotonicTimers_;
    std::unique_ptr<TimerQueue> wallClockTimers_;
    int wakeupFd_;
    std::unique_ptr<Channel> wakeupChannel_;
    std::any context_;

    ChannelList activeChannels_;
    Channel* currentActiveChannel_;

    mutable MutexLock mutex_;
    std::vector<Functor> pendingFunctors_;
};
}  // namespace net
}  // namespace muduo
