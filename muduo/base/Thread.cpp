#include "muduo/base/Thread.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sys/prctl.h>

#include "muduo/base/CurrentThread.h"

namespace muduo
{
namespace
{
// A forked child is a new main thread; its log lines must not carry the
// parent's cached tid.
void afterFork()
{
    CurrentThread::t_cachedTid = 0;
    CurrentThread::t_threadName = "main";
    CurrentThread::tid();
}

// Names the main thread before main() so its log lines and isMainThread work.
struct MainThreadInitializer
{
    MainThreadInitializer()
    {
        CurrentThread::t_threadName = "main";
        CurrentThread::tid();
        pthread_atfork(nullptr, nullptr, &afterFork);
    }
} mainThreadInitializer;
}  // namespace

std::atomic<int> Thread::numCreated_(0);

Thread::Thread(ThreadFunc func, const std::string& name)
    : started_(false), joined_(false), pthreadId_(0), tid_(0), func_(std::move(func)), name_(name), latch_(1)
{
    int num = ++numCreated_;
    if (name_.empty())
    {
        char buf[32];
        snprintf(buf, sizeof buf, "Thread%d", num);
        name_ = buf;
    }
}

Thread::~Thread()
{
    if (started_ && !joined_)
        pthread_detach(pthreadId_);
}

void Thread::start()
{
    assert(!started_);
    started_ = true;
    if (pthread_create(&pthreadId_, nullptr, &Thread::startThread, this) != 0)
    {
        started_ = false;
        fprintf(stderr, "Failed in pthread_create\n");
        abort();
    }
    latch_.wait();
}

int Thread::join()
{
    assert(started_);
    assert(!joined_);
    joined_ = true;
    return pthread_join(pthreadId_, nullptr);
}

void* Thread::startThread(void* self)
{
    static_cast<Thread*>(self)->runInThread();
    return nullptr;
}

void Thread::runInThread()
{
    tid_ = CurrentThread::tid();
    // Copy what the thread needs: after countDown the Thread object may go.
    ThreadFunc func = func_;
    std::string name = name_;
    latch_.countDown();

    CurrentThread::t_threadName = name.empty() ? "muduoThread" : name.c_str();
    ::prctl(PR_SET_NAME, CurrentThread::t_threadName);
    try
    {
        func();
        CurrentThread::t_threadName = "finished";
    }
    catch (const std::exception& ex)
    {
        fprintf(stderr, "exception caught in Thread %s\nreason: %s\n", name.c_str(), ex.what());
        abort();
    }
}
}  // namespace muduo
