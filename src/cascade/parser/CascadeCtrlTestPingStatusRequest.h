#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// TestPingStatus: the outlet whose last ping test is asked about.
struct CascadeCtrlTestPingStatusRequest
{
    int port = 0;

    void write(muduo::net::WireWriter& w) const { w.u8(static_cast<uint8_t>(port)); }
    bool read(muduo::net::WireReader& r)
    {
        uint8_t p = 0;
        if (!r.u8(p))
            return false;
        port = p;
        return true;
    }
};
}
