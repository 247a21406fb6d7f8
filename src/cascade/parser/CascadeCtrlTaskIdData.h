#pragma once
#include <cstdint>

#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// The id of the task a slave stored or changed (Add/UpdateScheduledTask
// and their Ext twins, after a status of 0).
struct CascadeCtrlTaskIdData
{
    uint32_t id = 0;

    void write(muduo::net::WireWriter& w) const { w.be32(id); }
    bool read(muduo::net::WireReader& r) { return r.be32(id); }
};
}
