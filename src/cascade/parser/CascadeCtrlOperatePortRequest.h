#pragma once
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// OperatePort (M = uint32_t) and OperatePortExt (uint64_t): the outlets of
// the mask get the action (1 on, 0 off, else restart; its low 8 bits travel).
template <typename M>
struct CascadeCtrlOperatePortRequest
{
    M mask = 0;
    int action = 0;

    void write(muduo::net::WireWriter& w) const { w.mask(mask).u8(static_cast<uint8_t>(action)); }
    bool read(muduo::net::WireReader& r)
    {
        M m = 0;
        uint8_t a = 0;
        if (!r.mask(m) || !r.u8(a))
            return false;
        mask = m;
        action = a;
        return true;
    }
};
}
