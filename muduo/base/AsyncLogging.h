#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "muduo/base/Condition.h"
#include "muduo/base/CountDownLatch.h"
#include "muduo/base/LogStream.h"
#include "muduo/base/Mutex.h"
#include "muduo/base/Thread.h"

namespace muduo
{
// Front ends append finished log lines into a current buffer; a background
// thread swaps full buffers out and writes them to a rolling LogFile, so a
// logging thread never waits on the disk.
class AsyncLogging : noncopyable
{
public:
    AsyncLogging(const std::string& basename, off_t rollSize, int flushInterval = 3);
    ~AsyncLogging();

    void append(const char* logline, int len);

    void start();
    void stop();

private:
    using Buffer = detail::FixedBuffer<detail::kLargeBuffer>;
    using BufferPtr = std::unique_ptr<Buffer>;
    using BufferVector = std::vector<BufferPtr>;

    void threadFunc();

    const int flushInterval_;
    std::atomic<bool> running_;
    const std::string basename_;
    const off_t rollSize_;
    Thread thread_;
    CountDownLatch latch_;
    MutexLock mutex_;
    Condition cond_;
    BufferPtr currentBuffer_;
    BufferPtr nextBuffer_;
    BufferVector buffers_;
};
}  // namespace muduo
