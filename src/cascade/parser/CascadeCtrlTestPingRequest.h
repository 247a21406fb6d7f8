#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// TestPing: one ping test for an outlet; ip in host byte order, sent
// big-endian (dotted numbers in order).
struct CascadeCtrlTestPingRequest
{
    int port = 0;
    uint32_t ip = 0;

    void write(muduo::net::WireWriter& w) const { w.u8(static_cast<uint8_t>(port)).be32(ip); }
    bool read(muduo::net::WireReader& r)
    {
        uint8_t p = 0;
        uint32_t address = 0;
        if (!r.u8(p) || !r.be32(address))
            return false;
        port = p;
        ip = address;
        return true;
    }
};
}
