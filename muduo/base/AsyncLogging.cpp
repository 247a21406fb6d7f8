#include "muduo/base/AsyncLogging.h"

#include <cstdio>
#include <cstring>

#include "muduo/base/LogFile.h"
#include "muduo/base/Timestamp.h"

namespace muduo
{
namespace
{
// Beyond this many full buffers the writer is hopelessly behind; the
// surplus is dropped rather than letting memory grow without bound.
const size_t kMaxPendingBuffers = 25;
}

AsyncLogging::AsyncLogging(const std::string& basename, off_t rollSize, int flushInterval)
    : flushInterval_(flushInterval),
      running_(false),
      basename_(basename),
      rollSize_(rollSize),
      thread_(std::bind(&AsyncLogging::threadFunc, this), "Logging"),
      latch_(1),
      mutex_(),
      cond_(mutex_),
      currentBuffer_(new Buffer),
      nextBuffer_(new Buffer),
      buffers_()
{
    currentBuffer_->bzero();
    nextBuffer_->bzero();
    buffers_.reserve(16);
}

AsyncLogging::~AsyncLogging()
{
    if (running_)
        stop();
}

void AsyncLogging::start()
{
    running_ = true;
    thread_.start();
    latch_.wait();
}

void AsyncLogging::stop()
{
    if (!running_.exchange(false))
        return;
    {
        MutexLockGuard lock(mutex_);
        cond_.notify();
    }
    thread_.join();
}

void AsyncLogging::append(const char* logline, int len)
{
    if (len <= 0)
        return;
    MutexLockGuard lock(mutex_);
    if (currentBuffer_->avail() > len)
    {
        currentBuffer_->append(logline, static_cast<size_t>(len));
        return;
    }
    buffers_.push_back(std::move(currentBuffer_));
    if (nextBuffer_)
        currentBuffer_ = std::move(nextBuffer_);
    else
        currentBuffer_.reset(new Buffer);
    currentBuffer_->append(logline, static_cast<size_t>(len));
    cond_.notify();
}

void AsyncLogging::threadFunc()
{
    LogFile output(basename_, rollSize_, false, flushInterval_);
    BufferPtr newBuffer1(new Buffer);
    BufferPtr newBuffer2(new Buffer);
    newBuffer1->bzero();
    newBuffer2->bzero();
    BufferVector buffersToWrite;
    buffersToWrite.reserve(16);
    latch_.countDown();

    bool last = false;
    while (!last)
    {
        {
            MutexLockGuard lock(mutex_);
            // A stop() that came while the last batch was being written
            // must not wait out a whole flush interval.
            if (buffers_.empty() && running_)
                cond_.waitForSeconds(flushInterval_);
            // Whatever is appended after stop() returns is not written.
            last = !running_;
            buffers_.push_back(std::move(currentBuffer_));
            currentBuffer_ = std::move(newBuffer1);
            buffersToWrite.swap(buffers_);
            if (!nextBuffer_)
                nextBuffer_ = std::move(newBuffer2);
        }

        if (buffersToWrite.size() > kMaxPendingBuffers)
        {
            char buf[256];
            snprintf(buf, sizeof buf, "Dropped log messages at %s, %zu larger buffers\n",
                     Timestamp::now().toFormattedString().c_str(), buffersToWrite.size() - 2);
            fputs(buf, stderr);
            output.append(buf, static_cast<int>(strlen(buf)));
            buffersToWrite.erase(buffersToWrite.begin() + 2, buffersToWrite.end());
        }

        for (const auto& buffer : buffersToWrite)
            output.append(buffer->data(), buffer->length());

        if (buffersToWrite.size() > 2)
            buffersToWrite.resize(2);

        if (!newBuffer1)
        {
            newBuffer1 = std::move(buffersToWrite.back());
            buffersToWrite.pop_back();
            newBuffer1->reset();
        }
        if (!newBuffer2)
        {
            newBuffer2 = std::move(buffersToWrite.back());
            buffersToWrite.pop_back();
            newBuffer2->reset();
        }
        buffersToWrite.clear();
        output.flush();
    }
}
}  // namespace muduo
