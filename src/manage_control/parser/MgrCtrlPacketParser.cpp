#include "manage_control/parser/MgrCtrlPacketParser.h"

#include "PduTimer.h"
#include "muduo/base/Logging.h"
#include "netext/WireReader.h"

using muduo::net::WireReader;

namespace MgrCtrl
{
const double MgrCtrlPacketParser::kResetSeconds = 1.0;

namespace
{
thread_local size_t t_bufferedInAll = 0;
}

size_t MgrCtrlPacketParser::bufferedInAll() { return t_bufferedInAll; }

MgrCtrlPacketParser::MgrCtrlPacketParser(muduo::net::EventLoop* loop)
    : expectedLength_(0), checksumFlag_(false), resetTimer_(std::make_shared<PduTimer>(loop, 0)), counted_(0)
{
    resetTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) {
        reset();
        LOG_INFO << "packet parse reset";
    });
}

MgrCtrlPacketParser::~MgrCtrlPacketParser()
{
    resetTimer_->cancel();
    t_bufferedInAll -= counted_;
}

void MgrCtrlPacketParser::account()
{
    const size_t now = buffer_.readableBytes();
    if (now == 0 && buffer_.internalCapacity() > muduo::net::Buffer::kCheapPrepend + muduo::net::Buffer::kInitialSize)
        buffer_.shrink(0);
    t_bufferedInAll = t_bufferedInAll - counted_ + now;
    counted_ = now;
}

int MgrCtrlPacketParser::parse(const char* data, int length, muduo::net::Buffer& frame)
{
    resetTimer_->cancel();
    if (data && length > 0)
    {
        const size_t held = buffer_.readableBytes() + static_cast<size_t>(length);
        if (held > kMaxBuffered)
        {
            LOG_WARN << "packet buffer over " << kMaxBuffered << " bytes, reset";
            reset();
            return 2;
        }
        if (held > kSmallFrame && t_bufferedInAll + static_cast<size_t>(length) > kMaxBufferedInAll)
        {
            LOG_WARN << "packets of all peers over " << kMaxBufferedInAll << " bytes, " << held << " of this one reset";
            reset();
            return 2;
        }
        buffer_.append(data, static_cast<size_t>(length));
        account();
    }
    if (buffer_.readableBytes() < kHeaderLength)
    {
        armReset();
        return 1;
    }
    if (expectedLength_ == 0)
    {
        WireReader in(buffer_);
        uint32_t dataLength = 0;
        in.skip(3);
        in.be32(dataLength);
        if (dataLength == 0 || dataLength > kMaxDataLength)
        {
            if (dataLength > kMaxDataLength)
                LOG_WARN << "packet length " << dataLength << " over " << kMaxDataLength;
            reset();
            LOG_INFO << "packet length reset";
            return 2;
        }
        expectedLength_ = static_cast<int64_t>(dataLength) + static_cast<int64_t>(kHeaderLength);
    }
    if (static_cast<int64_t>(buffer_.readableBytes()) < expectedLength_)
    {
        armReset();
        return 1;
    }

    const size_t frameLength = static_cast<size_t>(expectedLength_);
    int result = 2;
    if (checkPacket(buffer_.peek(), static_cast<int>(frameLength)))
    {
        WireReader in(buffer_.peek(), frameLength);
        in.skip(kHeaderLength);
        frame.retrieveAll();
        frame.append(reinterpret_cast<const char*>(in.current()), in.remaining());
        result = 0;
    }
    buffer_.retrieve(frameLength);
    expectedLength_ = 0;
    account();
    armReset();
    return result;
}

bool MgrCtrlPacketParser::checkPacket(const char* data, int length)
{
    WireReader in(data, length > 0 ? static_cast<size_t>(length) : 0);
    uint8_t header = 0, flag = 0, checksum = 0;
    uint32_t dataLength = 0;
    if (!in.u8(header) || header != kHeader)
    {
        LOG_WARN << "header wrong";
        return false;
    }
    if (!in.u8(flag) || !in.u8(checksum) || !in.be32(dataLength) || in.remaining() < dataLength)
    {
        LOG_WARN << "packet truncated";
        return false;
    }
    checksumFlag_ = false;
    if (flag == 0)
        return true;
    uint8_t sum = 0;
    for (uint8_t byte = 0; dataLength > 0 && in.u8(byte); --dataLength)
        sum = static_cast<uint8_t>(sum + byte);
    if (sum != checksum)
    {
        LOG_WARN << "check sum wrong";
        return false;
    }
    checksumFlag_ = true;
    return true;
}

void MgrCtrlPacketParser::reset()
{
    resetTimer_->cancel();
    buffer_.retrieveAll();
    expectedLength_ = 0;
    account();
}

void MgrCtrlPacketParser::armReset()
{
    if (buffer_.readableBytes() > 0)
        resetTimer_->runAfter(kResetSeconds);
}
}
