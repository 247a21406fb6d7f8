#include "cascade/parser/CascadeCtrlPacketParser.h"

#include "PduTimer.h"
#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "muduo/base/Logging.h"
#include "netext/WireReader.h"

namespace CascadeCtrl
{
namespace
{
const size_t kHeader = CascadeCtrlPacketBuilder::kHeaderLength;
const size_t kLengthOffset = 5;
const size_t kCrcOffset = 4;
}

const double CascadeCtrlPacketParser::kResetSeconds = 0.5;

CascadeCtrlPacketParser::CascadeCtrlPacketParser(muduo::net::EventLoop* loop)
    : buffer_(), resetTimer_(std::make_shared<PduTimer>(loop, 0)), crc_(CRC::CRC_8::parameters)
{
    resetTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) {
        buffer_.retrieveAll();
        LOG_INFO << "packet parse reset";
    });
}

CascadeCtrlPacketParser::~CascadeCtrlPacketParser() { resetTimer_->cancel(); }

int CascadeCtrlPacketParser::reject(const char* why)
{
    LOG_WARN << why;
    buffer_.retrieveAll();
    return 2;
}

void CascadeCtrlPacketParser::armReset() { resetTimer_->runAfter(kResetSeconds); }

int CascadeCtrlPacketParser::parse(const char* data, int length, int& address, int& sequence,
                                   muduo::net::Buffer& payload)
{
    resetTimer_->cancel();
    if (data && length > 0)
        buffer_.append(data, static_cast<size_t>(length));
    if (buffer_.readableBytes() > kMaxBuffered)
        return reject("receive buffer overflow");
    if (buffer_.readableBytes() <= kHeader - 1)
    {
        if (buffer_.readableBytes() > 0)
            armReset();
        return 1;
    }
    muduo::net::WireReader header(buffer_);
    uint32_t n = 0, check = 0;
    header.skip(kLengthOffset);
    header.be32(n);
    header.be32(check);
    // The complement must be exact: a weaker test lets a corrupted length
    // through, and a length beyond kMaxPayload would hold the line forever.
    if (check != static_cast<uint32_t>(~n) || n > kMaxPayload)
        return reject("size invalid");
    const size_t frameLength = kHeader + n;
    if (buffer_.readableBytes() < frameLength)
    {
        armReset();
        return 1;
    }
    payload.retrieveAll();
    if (checkPacket(buffer_.peek(), static_cast<int>(frameLength), address, sequence) != 0)
        return reject("packet wrong");
    payload.append(buffer_.peek() + kHeader, n);
    buffer_.retrieve(frameLength);
    if (buffer_.readableBytes() > 0)
        armReset();
    return 0;
}

int CascadeCtrlPacketParser::pendingAddress() const
{
    muduo::net::WireReader r(buffer_.peek(), buffer_.readableBytes());
    uint8_t start = 0, address = 0;
    if (!r.u8(start) || start != CascadeCtrlPacketBuilder::kStartByte || !r.u8(address))
        return -1;
    return address;
}

int CascadeCtrlPacketParser::checkPacket(const char* frame, int frameLength, int& address, int& sequence) const
{
    muduo::net::WireReader r(frame, frameLength > 0 ? static_cast<size_t>(frameLength) : 0);
    uint8_t start = 0, addr = 0, crc = 0;
    uint16_t seq = 0;
    if (!r.u8(start) || start != CascadeCtrlPacketBuilder::kStartByte || r.remaining() < kHeader - 1)
    {
        LOG_WARN << "header wrong";
        return 1;
    }
    r.u8(addr);
    r.be16(seq);
    r.u8(crc);
    r.skip(kHeader - kCrcOffset - 1);
    if (crc_.compute(r.current(), r.remaining()) != crc)
    {
        LOG_WARN << "crc wrong";
        return 2;
    }
    address = addr;
    sequence = seq;
    return 0;
}
}
