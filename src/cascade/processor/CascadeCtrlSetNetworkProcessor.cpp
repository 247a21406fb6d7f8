#include "cascade/processor/CascadeCtrlSetNetworkProcessor.h"

namespace CascadeCtrl
{
bool CascadeCtrlSetNetworkProcessor::work()
{
    if (!(request.receivedMask & 0x01) || request.setting.networks.empty())
        return false;
    return GlobalData::saveDeviceNetworkSettingToDb(request.setting.networks);
}
}
