#include "cascade/processor/CascadeCtrlQueryNetworkProcessor.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryNetworkProcessor::work()
{
    if (GlobalData::loadDeviceNetworkSettingFromDb(answer_.data.setting))
        return true;
    answer_.data.setting.networks.clear();
    return false;
}
}
