#pragma once
#include <cstddef>
#include <cstdint>

namespace CRC
{
// A table-driven CRC-8 built from a parameter record. Each user keeps its own
// copy, table included; the default record is CRC-8/SMBUS (check value 0xF4).
class CRC_8
{
public:
    struct Parameters
    {
        uint8_t polynomial;
        uint8_t initial;
        uint8_t finalXor;
        bool reflectInput;
        bool reflectOutput;
    };
    static constexpr Parameters parameters = {0x07, 0x00, 0x00, false, false};

    explicit CRC_8(const Parameters& p = parameters);

    uint8_t compute(const void* data, size_t length) const;

private:
    Parameters params_;
    uint8_t table_[256];
};
}
