#include "modbus/ModbusParser.h"

#include "PduTimer.h"
#include "modbus/ModbusController.h"
#include "modbus/ModbusTypes.h"
#include "muduo/base/Logging.h"
#include "netext/WireReader.h"

namespace modbus
{
namespace
{
const size_t kMbapLength = 6;  // transaction id, protocol id, length
const size_t kHeaderLength = 8;  // MBAP, unit id and function code
// The MBAP length counts the unit id and the PDU (function code and at most
// 252 data bytes); anything else is no Modbus frame.
const uint16_t kMinMbapLength = 2;
const uint16_t kMaxMbapLength = 254;
const size_t kBufferCapacity = muduo::net::Buffer::kCheapPrepend + muduo::net::Buffer::kInitialSize;
}

const double ModbusParser::kResetSeconds = 1.0;

ModbusParser::ModbusParser(muduo::net::EventLoop* loop, ModbusController* controller)
    : controller_(controller), resetTimer_(std::make_shared<PduTimer>(loop, 0))
{
    resetTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onReset(); });
}

ModbusParser::~ModbusParser() { resetTimer_->cancel(); }

int ModbusParser::parse(const char* data, int length, muduo::net::Buffer& reply)
{
    int frames = 0;
    if (data && length > 0)
        buffer_.append(data, static_cast<size_t>(length));
    resetTimer_->cancel();
    LOG_HEX_INFO(buffer_.peek(), static_cast<int>(buffer_.readableBytes())) << "modbus bytes";

    while (buffer_.readableBytes() >= kMbapLength)
    {
        muduo::net::WireReader in(buffer_);
        uint16_t mbapLength = 0;
        in.skip(4);
        in.be16(mbapLength);
        size_t total = kMbapLength + mbapLength;
        LOG_INFO << "bytes:" << buffer_.readableBytes() << ",totalLen:" << total;
        if (mbapLength < kMinMbapLength || mbapLength > kMaxMbapLength)
        {
            LOG_INFO << "modbus length " << mbapLength << " refused, " << buffer_.readableBytes()
                     << " bytes dropped";
            onReset();
            return frames;
        }
        if (buffer_.readableBytes() < total)
        {
            resetTimer_->runAfter(kResetSeconds);
            return frames;
        }
        ReqInfo_ info;
        if (prepareReqInfo(total, info))
        {
            controller_->respond(&info, buffer_.peek() + kHeaderLength, static_cast<int>(total - kHeaderLength),
                                 reply);
            ++frames;
        }
        else
        {
            LOG_INFO << "modbus frame without function code dropped";
        }
        buffer_.retrieve(total);
    }
    if (buffer_.readableBytes() > 0)
        resetTimer_->runAfter(kResetSeconds);
    else
        releaseMemory();
    return frames;
}

bool ModbusParser::prepareReqInfo(size_t frameLength, ReqInfo_& info) const
{
    if (frameLength < kHeaderLength)
        return false;
    muduo::net::WireReader in(buffer_.peek(), frameLength);
    if (!in.be16(info.transactionId) || !in.be16(info.protocolId) || !in.skip(2) || !in.u8(info.unitId) ||
        !in.u8(info.functionCode))
        return false;
    LOG_INFO << "tid:" << muduo::Fmt("0x%04X", info.transactionId);
    LOG_INFO << "pid:" << muduo::Fmt("0x%04X", info.protocolId);
    LOG_INFO << "uid:" << muduo::Fmt("0x%02X", static_cast<unsigned>(info.unitId));
    LOG_INFO << "fc:" << muduo::Fmt("0x%02X", static_cast<unsigned>(info.functionCode));
    return true;
}

void ModbusParser::onReset()
{
    buffer_.retrieveAll();
    releaseMemory();
    LOG_INFO << "packet parse reset";
}

void ModbusParser::releaseMemory()
{
    if (buffer_.readableBytes() == 0 && buffer_.internalCapacity() > kBufferCapacity)
        buffer_.shrink(0);
}
}
