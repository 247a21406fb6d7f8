#pragma once
#include <functional>
#include <memory>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"
#include "netext/FileHandler.h"

namespace muduo
{
namespace net
{
class Buffer;
class EventLoop;
}
}

// A serial line on the event loop, set to raw 8N1. Reading starts only when
// the owner calls startRead on the handler.
class SerialPort : muduo::noncopyable
{
public:
    typedef std::function<void(muduo::net::Buffer*, muduo::Timestamp)> DataCallback;
    typedef std::function<void(const muduo::net::FileHandlerPtr&)> WriteCompleteCallback;

    // devName is the unit's path (/dev/ttyS10); it is opened below the board root.
    SerialPort(muduo::net::EventLoop* loop, const char* devName);
    ~SerialPort();

    static muduo::net::FileHandlerPtr createDevFile(muduo::net::EventLoop* loop, const char* devName);

    void configUart(int baud);
    void setDataCallback(DataCallback cb) { dataCallback_ = std::move(cb); }
    void setWriteCompleteCallback(WriteCompleteCallback cb) { writeCompleteCallback_ = std::move(cb); }

    const muduo::net::FileHandlerPtr& fileHandler() const { return fileHandler_; }

private:
    void onMessage(muduo::net::Buffer* buffer, muduo::Timestamp receiveTime);
    void setDriverFifo(int fd);

    muduo::net::FileHandlerPtr fileHandler_;
    DataCallback dataCallback_;
    WriteCompleteCallback writeCompleteCallback_;
};
