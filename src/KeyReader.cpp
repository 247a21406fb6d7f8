#include "KeyReader.h"

#include <fcntl.h>

#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "platform/core/BoardRoot.h"

const char* const KeyReader::kDevName = "/dev/key";

KeyReader::KeyReader(muduo::net::EventLoop* loop)
    : handler_(std::make_shared<muduo::net::FileHandler>(loop, board::path(kDevName).c_str(), O_NONBLOCK))
{
    handler_->setMessageCallback([this](const muduo::net::FileHandlerPtr&, muduo::net::Buffer* buffer, muduo::Timestamp) {
        decode(buffer, keyCallback_);
    });
}

KeyReader::~KeyReader()
{
    // Someone else may still hold the handler: it must not call back into us.
    handler_->setMessageCallback(muduo::net::defaultFileMessageCallback);
}

void KeyReader::decode(muduo::net::Buffer* buffer, const KeyCallback& cb)
{
    for (;;)
    {
        uint8_t b[kRecordSize];
        muduo::net::WireReader reader(*buffer);
        if (!reader.bytes(b, sizeof b))
            return;
        buffer->retrieve(sizeof b);
        auto word = static_cast<unsigned short>(b[0] | (b[1] << 8));
        if (cb)
            cb(static_cast<unsigned short>(word & 0x00FF), static_cast<unsigned short>(word & 0xFF00));
    }
}
