#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// SetNewAddr: the slave's next cascade address (one byte, read signed).
struct CascadeCtrlSetNewAddrRequest
{
    int address = 0;

    void write(muduo::net::WireWriter& w) const { w.u8(static_cast<uint8_t>(address)); }
    bool read(muduo::net::WireReader& r)
    {
        int8_t a = 0;
        if (!r.s8(a))
            return false;
        address = a;
        return true;
    }
};
}
