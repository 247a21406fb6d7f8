#pragma once
#include <cstdint>
#include <vector>

#include "PmReading.h"

namespace pmemu
{
// Encodes the module's reply frames: A5, command, payload (big-endian), and a
// checksum over command and payload.
class PmReplyWriter
{
public:
    using Bytes = std::vector<uint8_t>;

    static Bytes frame(uint8_t command, const Bytes& payload);
    static Bytes meter(uint8_t port, const PmReading& reading);
    static Bytes relay(uint8_t port, uint8_t action, uint8_t result);
    static Bytes outputStatus(uint8_t count, uint8_t onBits, uint8_t calibratedBits);
    static Bytes caliParams(uint16_t voltage, uint16_t current, uint16_t power, uint8_t result);
    static Bytes transferResult(uint8_t result);
    static Bytes calibrateResult(uint8_t port, uint8_t result);

    // Whole units and hundredths of a non-negative value, each clamped to 16 bits.
    static void splitHundredths(double value, uint16_t& whole, uint16_t& hundredths);
};
}
