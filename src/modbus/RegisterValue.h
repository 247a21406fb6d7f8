#pragma once
#include <cstdint>
#include <limits>

namespace modbus
{
// A reading narrowed to the registers that carry it. A value beyond what a
// register can show is held at the register's nearest bound, never wrapped:
// a client must not read 446.4 W for a load of 7,000 W.
class RegisterValue
{
public:
    // One unsigned register: 0 to 65535.
    static uint16_t word(int64_t value) { return held<uint16_t>(value); }
    // One signed register (-32768 to 32767) as the word on the wire.
    static uint16_t signedWord(int64_t value) { return static_cast<uint16_t>(held<int16_t>(value)); }
    // Two registers, high word first: 0 to 4294967295.
    static uint32_t doubleWord(int64_t value) { return held<uint32_t>(value); }

private:
    template <class Register>
    static Register held(int64_t value)
    {
        const int64_t lowest = std::numeric_limits<Register>::min();
        const int64_t highest = std::numeric_limits<Register>::max();
        return static_cast<Register>(value < lowest ? lowest : (value > highest ? highest : value));
    }
};
}
