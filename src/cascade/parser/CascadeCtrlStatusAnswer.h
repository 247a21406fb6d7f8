#pragma once
#include <cstdint>
#include <utility>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// The status byte most answers carry after their code: 0 done, 1 failed.
struct CascadeCtrlAnswerStatus
{
    uint8_t status = 0;

    bool done() const { return status == 0; }
};

// The common answer shape: the status byte, then the command's data, which
// follow a status of 0 only, or always when kDataAlways (outlet switching
// echoes its mask and the ping tests their port whatever the status).
template <class Data, bool kDataAlways = false>
struct CascadeCtrlStatusAnswer : CascadeCtrlAnswerStatus
{
    Data data;

    void write(muduo::net::WireWriter& w) const
    {
        w.u8(status);
        if (kDataAlways || status == 0)
            data.write(w);
    }
    bool read(muduo::net::WireReader& r)
    {
        uint8_t s = 0;
        Data d;
        if (!r.u8(s) || ((kDataAlways || s == 0) && !d.read(r)))
            return false;
        status = s;
        data = std::move(d);
        return true;
    }
};
}
