#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// QueryInputThreshold and QueryTempHumThreshold: which limit pairs are asked
// for, with the bits of the matching set command.
struct CascadeCtrlPairSelectionRequest
{
    uint8_t mask = 0;

    void write(muduo::net::WireWriter& w) const { w.u8(mask); }
    bool read(muduo::net::WireReader& r) { return r.u8(mask); }
};
}
