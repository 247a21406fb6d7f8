#pragma once
#include <cstdint>

#include "muduo/base/Timestamp.h"
#include "muduo/base/noncopyable.h"

// Reassembles config-port frames (0xA4, length, code, data) into a ring of
// four slots. At most three whole frames wait; a frame completed while the
// ring is full is dropped, so waiting frames are never overwritten.
class ConfigParser : muduo::noncopyable
{
public:
    static const double kResetSeconds;
    static const int kSlots = 4;
    static const int kSlotSize = 51;
    static const int kTextSize = 16;
    static const uint8_t kHead = 0xA4;

    ConfigParser();

    void parsePacket(const char* data, int length, muduo::Timestamp time);
    bool hasParsedPacket(unsigned char& code) const;
    void popParsedPacket();
    muduo::Timestamp lastChunk() const { return lastChunk_; }

    // Fields of the oldest frame. Text outputs need kTextSize + 1 bytes and
    // are always terminated; mac needs 6. False when the frame is too short
    // to hold the fields of its code.
    bool getMac(int* value, char* mac) const;
    bool getUid(char* uid) const;
    bool getUid(char* uid, char* deviceName, char* netbiosName) const;

private:
    enum State
    {
        kWaitHead = 0,
        kWaitLength = 1,
        kReadBody = 2,
    };

    void feed(uint8_t byte);
    void dropPartial();
    void completeFrame();
    const uint8_t* oldest() const { return slots_[readIndex_]; }
    int oldestLength() const;

    uint8_t slots_[kSlots][kSlotSize];
    int readIndex_;
    int writeIndex_;
    int filled_;
    int awaited_;
    State state_;
    muduo::Timestamp lastChunk_;
};
