#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// QueryDeviceStatus and its Ext twin: parts (bit 0 outlet states, bit 1
// temperature and humidity, bit 2 inlet) and the outlets whose values are
// wanted. The master's poll asks for everything: 0xFF and every bit.
template <typename M>
struct CascadeCtrlQueryDeviceStatusRequest
{
    uint8_t parts = 0;
    M mask = 0;

    void write(muduo::net::WireWriter& w) const { w.u8(parts).mask(mask); }
    bool read(muduo::net::WireReader& r)
    {
        uint8_t p = 0;
        M m = 0;
        if (!r.u8(p) || !r.mask(m))
            return false;
        parts = p;
        mask = m;
        return true;
    }
};
}
