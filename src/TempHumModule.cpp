#include "TempHumModule.h"

#include <fcntl.h>

#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "platform/core/BoardRoot.h"

const char* const TempHumModule::kDevName = "/dev/temp_hum";

namespace
{
// The driver writes in the board's own byte order, little-endian.
bool le32(muduo::net::WireReader& reader, int32_t& v)
{
    uint8_t b[4];
    if (!reader.bytes(b, sizeof b))
        return false;
    v = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    return true;
}
}

TempHumModule::TempHumModule(muduo::net::EventLoop* loop)
    : handler_(std::make_shared<muduo::net::FileHandler>(loop, board::path(kDevName).c_str(), O_NONBLOCK))
{
    handler_->setMessageCallback([this](const muduo::net::FileHandlerPtr&, muduo::net::Buffer* buffer, muduo::Timestamp) {
        decode(buffer, readingCallback_);
    });
}

TempHumModule::~TempHumModule()
{
    // Someone else may still hold the handler: it must not call back into us.
    handler_->setMessageCallback(muduo::net::defaultFileMessageCallback);
}

void TempHumModule::decode(muduo::net::Buffer* buffer, const ReadingCallback& cb)
{
    for (;;)
    {
        int32_t valid = 0, tempWhole = 0, tempTenths = 0, humWhole = 0, humTenths = 0;
        muduo::net::WireReader reader(*buffer);
        if (reader.remaining() < kRecordSize)
            return;
        le32(reader, valid);
        le32(reader, tempWhole);
        le32(reader, tempTenths);
        le32(reader, humWhole);
        le32(reader, humTenths);
        buffer->retrieve(kRecordSize);
        LOG_DEBUG << "temp:" << tempWhole << "." << tempTenths << ",hum:" << humWhole << "." << humTenths;
        if (cb)
            cb(valid != 0, tempWhole + tempTenths / 10.0, humWhole + humTenths / 10.0);
    }
}
