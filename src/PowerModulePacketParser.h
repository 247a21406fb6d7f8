#pragma once
#include <cstdint>

#include "PowerModuleTypes.h"
#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class WireReader;
}
}

// Reassembles the power module's replies from the serial byte stream. Whole
// frames wait in a fixed ring until popped; the getters decode the oldest.
class PowerModulePacketParser : muduo::noncopyable
{
public:
    PowerModulePacketParser();

    void parsePacket(const char* data, int len, muduo::Timestamp receiveTime);
    bool hasParsedPacket(unsigned char& cmd) const;
    void popParsedPacket();

    // Each decodes the oldest waiting frame; a null output is skipped. False
    // when no frame waits or the frame is too short for the fields asked for.
    bool getPowerModuleData(int* port, _PowerModuleData* data) const;
    bool getRelayControlRet(int* port, unsigned char* action, unsigned char* result) const;
    bool getOutputQueryRet(int* count, unsigned char* onOffBits, unsigned char* calibratedBits) const;
    bool getRequestCaliParamRet(unsigned short* caliVoltage, unsigned short* caliCurrent, unsigned short* caliPower,
                                unsigned char* result) const;
    bool getTransferCaliParamRet(unsigned char* result) const;
    bool getStartCalibrateRet(int* port, unsigned char* result) const;

    // What the oldest waiting frame names of the request it answers (replyKey).
    bool getReplyKey(uint32_t* key) const;

    // Length of the module's reply to a request of command cmd; 0 for an unknown command.
    static int replyLength(unsigned char cmd);
    // What a reply names of the request it answers: its command, and the port
    // and action where it carries them (bits 8-15 and 0-7).
    static uint32_t replyKey(unsigned char cmd, int port, int action);

    static constexpr int kSlots = 32;
    static constexpr int kSlotSize = 22;

private:
    enum State
    {
        kWaitHeader = 0,
        kWaitCommand = 1,
        kCollect = 2
    };

    void feed(uint8_t byte);
    void resetFrame();
    void completeFrame(uint8_t byte);
    // A reader positioned on the payload of the oldest frame (after header and command).
    bool payloadReader(muduo::net::WireReader& reader) const;

    uint8_t ring_[kSlots][kSlotSize];
    int lengths_[kSlots];
    int readIndex_;
    int writeIndex_;
    int received_;
    int expected_;
    uint8_t checksum_;
    int state_;
    muduo::Timestamp lastReceive_;
};
