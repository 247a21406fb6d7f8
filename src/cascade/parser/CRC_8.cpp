#include "cascade/parser/CRC_8.h"

namespace CRC
{
namespace
{
uint8_t reverseBits(uint8_t v)
{
    uint8_t out = 0;
    for (int i = 0; i < 8; ++i, v = static_cast<uint8_t>(v >> 1))
        out = static_cast<uint8_t>((out << 1) | (v & 1u));
    return out;
}
}

CRC_8::CRC_8(const Parameters& p) : params_(p), table_()
{
    for (int i = 0; i < 256; ++i)
    {
        uint8_t reg = static_cast<uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            reg = static_cast<uint8_t>((reg & 0x80u) ? (reg << 1) ^ params_.polynomial : reg << 1);
        table_[i] = reg;
    }
}

uint8_t CRC_8::compute(const void* data, size_t length) const
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint8_t reg = params_.initial;
    for (size_t i = 0; p && i < length; ++i)
        reg = table_[reg ^ p[i]];
    if (params_.reflectInput != params_.reflectOutput)
        reg = reverseBits(reg);
    return static_cast<uint8_t>(reg ^ params_.finalXor);
}
}
