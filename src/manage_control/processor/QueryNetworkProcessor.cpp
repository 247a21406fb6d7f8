#include "manage_control/processor/QueryNetworkProcessor.h"

#include "GlobalData.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
int QueryNetworkProcessor::work()
{
    setting_ = _DeviceNetworkSetting();
    if (GlobalData::loadDeviceNetworkSettingFromDb(setting_))
        return 0;
    setting_.networks.clear();
    return 1;
}

void QueryNetworkProcessor::buildResponseData(int result, muduo::net::Buffer& data)
{
    MgrCtrlPacketBuilder::buildQueryNetworkRetData(data, 0, result, setting_);
}
}
