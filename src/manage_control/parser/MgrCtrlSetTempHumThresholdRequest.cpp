#include "manage_control/parser/MgrCtrlSetTempHumThresholdRequest.h"

#include <cstdint>

#include "DataConverter.h"
#include "netext/WireReader.h"

namespace MgrCtrl
{
bool MgrCtrlSetTempHumThresholdRequest::read(muduo::net::WireReader& r)
{
    _DeviceTempHumiThreshold t;
    int16_t temp[2] = {};
    uint16_t humi[2] = {};
    if (!r.u8(t.mask) || ((t.mask & 0x01) && !(r.be16(temp[0]) && r.be16(temp[1])))
        || ((t.mask & 0x02) && !(r.be16(humi[0]) && r.be16(humi[1]))))
        return false;
    if (t.mask & 0x01)
    {
        t.warnUpperTemp = DataConverter::TempIntToDouble(temp[0]);
        t.warnLowerTemp = DataConverter::TempIntToDouble(temp[1]);
    }
    if (t.mask & 0x02)
    {
        t.warnUpperHumi = DataConverter::HumiIntToDouble(humi[0]);
        t.warnLowerHumi = DataConverter::HumiIntToDouble(humi[1]);
    }
    threshold = t;
    return true;
}
}
