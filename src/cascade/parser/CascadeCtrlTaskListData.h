#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "DeviceRecords.h"
#include "Utility.h"
#include "cascade/parser/CascadeCtrlWireFields.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
// Scheduled tasks (QueryScheduledTask with 32-bit masks, its Ext twin with
// 64): a 16-bit count, then per task its id, mask, action, year - 2000,
// month, day, hour, minute, second, repeat mask and 16-byte remark. No
// status byte: a failed query is an empty list. A list longer than the
// count can say is cut. kNormalize: a UTF-8 character that the remark's
// field cuts is zeroed whole (the 32-bit answer does this, the Ext one
// sends the bytes as stored). Years are read back signed, plus 2000.
template <typename M, bool kNormalize>
struct CascadeCtrlTaskListData
{
    static constexpr size_t kMaxTasks = 0xFFFF;
    // id, mask, action, six date and time bytes, repeat mask, remark
    static constexpr size_t kRecordSize = 4 + sizeof(M) + 1 + 6 + 1 + CascadeCtrlWireFields::kTextLength;

    std::vector<_DeviceTask> tasks;

    void write(muduo::net::WireWriter& w) const
    {
        const size_t count = std::min(tasks.size(), kMaxTasks);
        w.be16(static_cast<uint16_t>(count));
        for (size_t i = 0; i < count; ++i)
        {
            const _DeviceTask& t = tasks[i];
            char remark[CascadeCtrlWireFields::kTextLength] = {};
            t.remark.copy(remark, sizeof remark);
            if (kNormalize)
                Utility::normalizeUtf8String(remark, static_cast<int>(sizeof remark));
            w.be32(static_cast<uint32_t>(t.id))
                .mask(static_cast<M>(t.ports))
                .u8(static_cast<uint8_t>(t.action))
                .u8(CascadeCtrlWireFields::yearByte(t.year))
                .u8(static_cast<uint8_t>(t.month))
                .u8(static_cast<uint8_t>(t.day))
                .u8(static_cast<uint8_t>(t.hour))
                .u8(static_cast<uint8_t>(t.minute))
                .u8(static_cast<uint8_t>(t.second))
                .u8(t.repeat)
                .bytes(remark, sizeof remark);
        }
    }
    bool read(muduo::net::WireReader& r)
    {
        uint16_t count = 0;
        // The list is sized by the bytes that came, not by what the count claims.
        if (!r.be16(count) || r.remaining() < size_t(count) * kRecordSize)
            return false;
        std::vector<_DeviceTask> got(count);
        for (_DeviceTask& t : got)
        {
            uint32_t id = 0;
            M ports = 0;
            uint8_t action = 0, b[6];
            if (!r.be32(id) || !r.mask(ports) || !r.u8(action) || !r.bytes(b, sizeof b) || !r.u8(t.repeat) ||
                !r.text(CascadeCtrlWireFields::kTextLength, t.remark))
                return false;
            t.id = static_cast<int32_t>(id);
            t.ports = ports;
            t.action = action;
            t.year = 2000 + static_cast<int8_t>(b[0]);
            t.month = b[1];
            t.day = b[2];
            t.hour = b[3];
            t.minute = b[4];
            t.second = b[5];
        }
        tasks.swap(got);
        return true;
    }
};
}
