#pragma once
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// A request that is one outlet mask: QueryName (bit 31 the device name),
// QueryPing and QueryPingExt.
template <typename M>
struct CascadeCtrlOutletMaskRequest
{
    M mask = 0;

    void write(muduo::net::WireWriter& w) const { w.mask(mask); }
    bool read(muduo::net::WireReader& r) { return r.mask(mask); }
};
}
