#include "ConfigParser.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "muduo/base/Logging.h"
#include "netext/WireReader.h"

using muduo::net::WireReader;

namespace
{
const size_t kCodeOffset = 2;

void logInvalid(uint8_t byte)
{
    char text[8];
    ::snprintf(text, sizeof text, "0x%02X", byte);
    LOG_INFO << "invalid data:" << text;
}

bool readText(WireReader& r, char* out)
{
    std::string text;
    if (!r.text(ConfigParser::kTextSize, text))
        return false;
    ::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return true;
}
}

const double ConfigParser::kResetSeconds = 0.5;

ConfigParser::ConfigParser()
    : slots_(), readIndex_(0), writeIndex_(0), filled_(0), awaited_(0), state_(kWaitHead)
{
}

void ConfigParser::parsePacket(const char* data, int length, muduo::Timestamp time)
{
    if (timeDifference(time, lastChunk_) >= kResetSeconds)
        dropPartial();
    lastChunk_ = time;
    for (int i = 0; data && i < length; ++i)
        feed(static_cast<uint8_t>(data[i]));
}

void ConfigParser::feed(uint8_t byte)
{
    if (filled_ >= kSlotSize)
    {
        LOG_INFO << "packet too big";
        dropPartial();
    }
    uint8_t* slot = slots_[writeIndex_];
    switch (state_)
    {
    case kWaitHead:
        if (byte == kHead)
        {
            slot[filled_++] = byte;
            state_ = kWaitLength;
        }
        else
        {
            logInvalid(byte);
        }
        break;
    case kWaitLength:
        if (byte > 0 && filled_ + 1 + byte <= kSlotSize)
        {
            slot[filled_++] = byte;
            awaited_ = byte;
            state_ = kReadBody;
        }
        else
        {
            logInvalid(byte);
            dropPartial();
        }
        break;
    case kReadBody:
        slot[filled_++] = byte;
        if (--awaited_ == 0)
            completeFrame();
        break;
    }
}

void ConfigParser::dropPartial()
{
    state_ = kWaitHead;
    filled_ = 0;
    awaited_ = 0;
}

void ConfigParser::completeFrame()
{
    int next = (writeIndex_ + 1) % kSlots;
    if (next == readIndex_)
    {
        LOG_INFO << "config frames waiting, frame dropped";
    }
    else
    {
        writeIndex_ = next;
    }
    dropPartial();
}

bool ConfigParser::hasParsedPacket(unsigned char& code) const
{
    if (readIndex_ == writeIndex_)
        return false;
    code = oldest()[kCodeOffset];
    return true;
}

void ConfigParser::popParsedPacket()
{
    if (readIndex_ != writeIndex_)
        readIndex_ = (readIndex_ + 1) % kSlots;
}

int ConfigParser::oldestLength() const { return readIndex_ == writeIndex_ ? 0 : oldest()[1] + 2; }

bool ConfigParser::getMac(int* value, char* mac) const
{
    WireReader r(oldest(), static_cast<size_t>(oldestLength()));
    uint8_t byte = 0;
    if (!r.skip(kCodeOffset + 2) || !r.u8(byte) || !r.bytes(mac, 6))
        return false;
    if (value)
        *value = byte;
    return true;
}

bool ConfigParser::getUid(char* uid) const
{
    WireReader r(oldest(), static_cast<size_t>(oldestLength()));
    return r.skip(kCodeOffset + 1) && readText(r, uid);
}

bool ConfigParser::getUid(char* uid, char* deviceName, char* netbiosName) const
{
    WireReader r(oldest(), static_cast<size_t>(oldestLength()));
    return r.skip(kCodeOffset + 1) && readText(r, uid) && readText(r, deviceName) && readText(r, netbiosName);
}
