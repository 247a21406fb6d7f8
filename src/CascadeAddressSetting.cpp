#include "CascadeAddressSetting.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

bool CascadeAddressSetting::set(int address, bool intoRecord)
{
    if (address < kFirst || address > kLast)
    {
        LOG_WARN << "cascade address " << address << " refused: outside " << kFirst << " to " << kLast;
        return false;
    }
    if (!GlobalData::updateAddress(address))
        return false;
    _Device& device = GlobalData::getDevice();
    if (intoRecord && !device.isMaster)
        device.address = address;
    return true;
}
