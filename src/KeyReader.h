#pragma once
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"
#include "netext/FileHandler.h"

// The front-panel keys: every 16-bit little-endian word the key driver
// delivers is one event, code in the low byte, state (0x100 press, 0x200
// long press) in the high byte.
class KeyReader : muduo::noncopyable
{
public:
    typedef std::function<void(unsigned short key, unsigned short state)> KeyCallback;
    static const char* const kDevName;
    static constexpr size_t kRecordSize = 2;

    explicit KeyReader(muduo::net::EventLoop* loop);
    virtual ~KeyReader();

    void setKeyCallback(KeyCallback cb) { keyCallback_ = std::move(cb); }
    const muduo::net::FileHandlerPtr& getFileHandler() const { return handler_; }
    void startRead() { handler_->startRead(); }

    // Takes every whole record from the buffer; an odd byte stays for the next read.
    static void decode(muduo::net::Buffer* buffer, const KeyCallback& cb);

private:
    muduo::net::FileHandlerPtr handler_;
    KeyCallback keyCallback_;
};
