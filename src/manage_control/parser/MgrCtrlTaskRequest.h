#pragma once
#include "Utility.h"
#include "cascade/parser/CascadeCtrlTaskRequest.h"

namespace MgrCtrl
{
// AddScheduledTask (57, Ext 78) and UpdateScheduledTask (58, Ext 79): the
// cascade layout, but a UTF-8 character that the remark field cuts short
// is dropped, so no broken text is stored or relayed.
template <typename M, bool kWithId>
struct MgrCtrlTaskRequest : CascadeCtrl::CascadeCtrlTaskRequest<M, kWithId>
{
    bool read(muduo::net::WireReader& r)
    {
        if (!CascadeCtrl::CascadeCtrlTaskRequest<M, kWithId>::read(r))
            return false;
        const size_t n = CascadeCtrl::CascadeCtrlWireFields::kTextLength;
        char field[n + 1] = {};
        this->task.remark.copy(field, n);
        Utility::normalizeUtf8String(field, static_cast<int>(n));
        this->task.remark = field;
        return true;
    }
};

template <typename M>
using MgrCtrlAddScheduledTaskRequest = MgrCtrlTaskRequest<M, false>;
template <typename M>
using MgrCtrlUpdateScheduledTaskRequest = MgrCtrlTaskRequest<M, true>;
}
