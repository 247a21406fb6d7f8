#include "manage_control/parser/MgrCtrlSetOutputThresholdRequest.h"

#include <algorithm>

#include "GlobalData.h"

namespace MgrCtrl
{
bool MgrCtrlSetOutputThresholdRequest::read(muduo::net::WireReader& r, uint8_t address)
{
    if (address != 0)
        return CascadeCtrlSetOutputThresholdRequest::read(r);
    typedef MaskTraits<uint32_t> Traits;
    const int outlets = std::min(GlobalData::getDevice().portCount, Traits::kWidth);
    uint32_t mask = 0;
    _DeviceOutputThresholdSetting got;
    if (!r.mask(mask))
        return false;
    for (int outlet = 0; outlet < outlets; ++outlet)
        if (Traits::test(mask, outlet) && !readRecord(r, outlet, got))
            return false;
    setting = got;
    receivedMask = mask;
    return true;
}
}
