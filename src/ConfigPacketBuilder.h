#pragma once

// The config port's 20-byte replies: 0xA4, 0x12, the request's code, the
// result (0 saved, 1 not saved) and 16 zero bytes.
class ConfigPacketBuilder
{
public:
    static const int kReplySize = 20;
    static const unsigned char kSetMac = 15;
    static const unsigned char kSetUid = 16;
    static const unsigned char kSetUidExt = 18;

    // Each returns 20, or -1 when capacity is below 20. The text is not sent
    // (the reply's tail is all zeros).
    static int buildSetMacRetPacket(unsigned char* out, int capacity, unsigned char result, const char* text);
    static int buildSetUidRetPacket(unsigned char* out, int capacity, unsigned char result, const char* text);
    static int buildSetUidExtRetPacket(unsigned char* out, int capacity, unsigned char result, const char* text);

private:
    static int build(unsigned char* out, int capacity, unsigned char code, unsigned char result);
};
