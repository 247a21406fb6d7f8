#include "PowerModulePacketParser.h"

#include <cstdio>

#include "muduo/base/Logging.h"
#include "netext/WireReader.h"

using muduo::net::WireReader;

namespace
{
// Bytes that follow the command byte, payload and checksum together.
int remainingFor(uint8_t cmd)
{
    switch (cmd)
    {
    case powermodule::kMeterData: return 20;
    case powermodule::kRelayControl: return 4;
    case powermodule::kOutputStatus: return 4;
    case powermodule::kRequestCaliParam: return 8;
    case powermodule::kTransferCaliParam: return 2;
    case powermodule::kStartCalibrate: return 3;
    default: return 0;
    }
}

template <typename T>
void put(T* out, T value)
{
    if (out)
        *out = value;
}
}

int PowerModulePacketParser::replyLength(unsigned char cmd)
{
    const int remaining = remainingFor(cmd);
    return remaining > 0 ? remaining + 2 : 0;  // header and command before them
}

uint32_t PowerModulePacketParser::replyKey(unsigned char cmd, int port, int action)
{
    const uint32_t key = static_cast<uint32_t>(cmd) << 16;
    switch (cmd)
    {
    case powermodule::kRelayControl:
        return key | static_cast<uint32_t>(port & 0xFF) << 8 | static_cast<uint32_t>(action & 0xFF);
    case powermodule::kMeterData:
    case powermodule::kStartCalibrate:
        return key | static_cast<uint32_t>(port & 0xFF) << 8;
    default:
        return key;
    }
}

PowerModulePacketParser::PowerModulePacketParser()
    : ring_(), lengths_(), readIndex_(0), writeIndex_(0), received_(0), expected_(0), checksum_(0),
      state_(kWaitHeader), lastReceive_(muduo::Timestamp::now(false))
{
}

void PowerModulePacketParser::parsePacket(const char* data, int len, muduo::Timestamp receiveTime)
{
    if (state_ != kWaitHeader && timeDifference(receiveTime, lastReceive_) >= 0.5)
    {
        resetFrame();
        LOG_INFO << "parse reset";
    }
    lastReceive_ = receiveTime;
    if (!data || len <= 0)
        return;
    for (int i = 0; i < len; ++i)
        feed(static_cast<uint8_t>(data[i]));
}

void PowerModulePacketParser::resetFrame()
{
    received_ = 0;
    expected_ = 0;
    state_ = kWaitHeader;
}

void PowerModulePacketParser::feed(uint8_t byte)
{
    uint8_t* slot = ring_[writeIndex_];
    if (received_ >= kSlotSize)
    {
        LOG_INFO << "packet too big";
        resetFrame();
    }
    switch (state_)
    {
    case kWaitHeader:
        if (byte == powermodule::kHeader)
        {
            slot[0] = byte;
            received_ = 1;
            checksum_ = 0;
            state_ = kWaitCommand;
        }
        else
        {
            received_ = 0;
        }
        break;
    case kWaitCommand:
        expected_ = remainingFor(byte);
        if (expected_ == 0)
        {
            char hex[8];
            ::snprintf(hex, sizeof hex, "0x%02X", byte);
            LOG_INFO << "invalid data:" << hex;
            resetFrame();
            break;
        }
        slot[received_++] = byte;
        checksum_ = static_cast<uint8_t>(checksum_ + byte);
        state_ = kCollect;
        break;
    default:
        slot[received_++] = byte;
        if (--expected_ > 0)
            checksum_ = static_cast<uint8_t>(checksum_ + byte);
        else
            completeFrame(byte);
        break;
    }
}

void PowerModulePacketParser::completeFrame(uint8_t byte)
{
    if (byte == checksum_)
    {
        lengths_[writeIndex_] = received_;
        int next = (writeIndex_ + 1) % kSlots;
        if (next != readIndex_)
            writeIndex_ = next;
    }
    resetFrame();
}

bool PowerModulePacketParser::hasParsedPacket(unsigned char& cmd) const
{
    if (readIndex_ == writeIndex_)
        return false;
    cmd = ring_[readIndex_][1];
    return true;
}

void PowerModulePacketParser::popParsedPacket()
{
    if (readIndex_ != writeIndex_)
        readIndex_ = (readIndex_ + 1) % kSlots;
}

bool PowerModulePacketParser::payloadReader(WireReader& reader) const
{
    if (readIndex_ == writeIndex_)
        return false;
    reader = WireReader(ring_[readIndex_], static_cast<size_t>(lengths_[readIndex_]));
    return reader.skip(2);
}

bool PowerModulePacketParser::getPowerModuleData(int* port, _PowerModuleData* data) const
{
    WireReader r(nullptr, 0);
    uint8_t p = 0;
    _PowerModuleData d{};
    if (!payloadReader(r) || !r.u8(p) || !r.be16(d.voltageInt) || !r.be16(d.voltageFrac) || !r.be16(d.currentInt) ||
        !r.be16(d.currentFrac) || !r.be16(d.powerInt) || !r.be16(d.powerFrac) || !r.be32(d.energyInt) ||
        !r.be16(d.energyFrac))
        return false;
    put(port, static_cast<int>(p));
    put(data, d);
    return true;
}

bool PowerModulePacketParser::getRelayControlRet(int* port, unsigned char* action, unsigned char* result) const
{
    WireReader r(nullptr, 0);
    uint8_t p = 0, a = 0, res = 0;
    if (!payloadReader(r) || !r.u8(p) || !r.u8(a) || !r.u8(res))
        return false;
    put(port, static_cast<int>(p));
    put(action, a);
    put(result, res);
    return true;
}

bool PowerModulePacketParser::getOutputQueryRet(int* count, unsigned char* onOffBits,
                                                unsigned char* calibratedBits) const
{
    WireReader r(nullptr, 0);
    uint8_t c = 0, on = 0, cal = 0;
    if (!payloadReader(r) || !r.u8(c) || !r.u8(on) || !r.u8(cal))
        return false;
    put(count, static_cast<int>(c));
    put(onOffBits, on);
    put(calibratedBits, cal);
    return true;
}

bool PowerModulePacketParser::getRequestCaliParamRet(unsigned short* caliVoltage, unsigned short* caliCurrent,
                                                     unsigned short* caliPower, unsigned char* result) const
{
    WireReader r(nullptr, 0);
    uint16_t v = 0, c = 0, p = 0;
    uint8_t res = 0;
    if (!payloadReader(r) || !r.be16(v) || !r.be16(c) || !r.be16(p) || !r.u8(res))
        return false;
    put(caliVoltage, static_cast<unsigned short>(v));
    put(caliCurrent, static_cast<unsigned short>(c));
    put(caliPower, static_cast<unsigned short>(p));
    put(result, res);
    return true;
}

bool PowerModulePacketParser::getTransferCaliParamRet(unsigned char* result) const
{
    WireReader r(nullptr, 0);
    uint8_t res = 0;
    if (!payloadReader(r) || !r.u8(res))
        return false;
    put(result, res);
    return true;
}

bool PowerModulePacketParser::getStartCalibrateRet(int* port, unsigned char* result) const
{
    WireReader r(nullptr, 0);
    uint8_t p = 0, res = 0;
    if (!payloadReader(r) || !r.u8(p) || !r.u8(res))
        return false;
    put(port, static_cast<int>(p));
    put(result, res);
    return true;
}

bool PowerModulePacketParser::getReplyKey(uint32_t* key) const
{
    unsigned char cmd = 0;
    int port = 0;
    unsigned char action = 0;
    if (!hasParsedPacket(cmd))
        return false;
    const bool read = cmd == powermodule::kRelayControl ? getRelayControlRet(&port, &action, nullptr)
                      : cmd == powermodule::kMeterData  ? getPowerModuleData(&port, nullptr)
                      : cmd == powermodule::kStartCalibrate ? getStartCalibrateRet(&port, nullptr)
                                                            : true;
    put(key, replyKey(cmd, port, action));
    return read;
}
