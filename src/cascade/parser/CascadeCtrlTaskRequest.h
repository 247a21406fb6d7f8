#pragma once
#include <cstdint>

#include "DeviceRecords.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// One scheduled task: AddScheduledTask (no id, the slave assigns it) and
// UpdateScheduledTask (id first), each with a 32-bit mask (the low half of
// the task's bitmap) or, in the Ext forms, all 64 bits. Then action, year -
// 2000, month, day, hour, minute, second, repeat mask, 16-byte remark. Read
// back with the year byte signed plus 2000.
template <typename M, bool kWithId>
struct CascadeCtrlTaskRequest
{
    _DeviceTask task;

    void write(muduo::net::WireWriter& w) const
    {
        if (kWithId)
            w.be32(static_cast<uint32_t>(task.id));
        w.mask(static_cast<M>(task.ports))
            .u8(static_cast<uint8_t>(task.action))
            .u8(CascadeCtrlWireFields::yearByte(task.year))
            .u8(static_cast<uint8_t>(task.month))
            .u8(static_cast<uint8_t>(task.day))
            .u8(static_cast<uint8_t>(task.hour))
            .u8(static_cast<uint8_t>(task.minute))
            .u8(static_cast<uint8_t>(task.second))
            .u8(task.repeat)
            .text(CascadeCtrlWireFields::kTextLength, task.remark);
    }
    bool read(muduo::net::WireReader& r)
    {
        _DeviceTask t;
        uint32_t id = 0;
        M ports = 0;
        uint8_t action = 0, b[6];
        if ((kWithId && !r.be32(id)) || !r.mask(ports) || !r.u8(action) || !r.bytes(b, sizeof b) ||
            !r.u8(t.repeat) || !r.text(CascadeCtrlWireFields::kTextLength, t.remark))
            return false;
        t.id = kWithId ? static_cast<int32_t>(id) : task.id;
        t.ports = ports;
        t.action = action;
        t.year = 2000 + static_cast<int8_t>(b[0]);
        t.month = b[1];
        t.day = b[2];
        t.hour = b[3];
        t.minute = b[4];
        t.second = b[5];
        task = t;
        return true;
    }
};

template <typename M>
using CascadeCtrlAddScheduledTaskRequest = CascadeCtrlTaskRequest<M, false>;
template <typename M>
using CascadeCtrlUpdateScheduledTaskRequest = CascadeCtrlTaskRequest<M, true>;
}
