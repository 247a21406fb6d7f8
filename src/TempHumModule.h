#pragma once
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"
#include "netext/FileHandler.h"

// The temperature/humidity sensor: each 20-byte record of the driver holds
// five little-endian int32: valid flag, temperature whole and tenths,
// humidity whole and tenths.
class TempHumModule : muduo::noncopyable
{
public:
    typedef std::function<void(bool valid, double temperature, double humidity)> ReadingCallback;
    static const char* const kDevName;
    static constexpr size_t kRecordSize = 20;

    explicit TempHumModule(muduo::net::EventLoop* loop);
    ~TempHumModule();

    void setReadingCallback(ReadingCallback cb) { readingCallback_ = std::move(cb); }
    const muduo::net::FileHandlerPtr& getFileHandler() const { return handler_; }
    void startRead() { handler_->startRead(); }

    // Takes every whole record from the buffer; a partial one waits for more.
    static void decode(muduo::net::Buffer* buffer, const ReadingCallback& cb);

private:
    muduo::net::FileHandlerPtr handler_;
    ReadingCallback readingCallback_;
};
