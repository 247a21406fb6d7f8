#include "manage_control/processor/SetNetworkProcessor.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace MgrCtrl
{
int SetNetworkProcessor::work()
{
    const MgrCtrlSetNetworkRequest& r = request();
    LOG_INFO << "mask:" << muduo::Fmt("0x%02X", static_cast<unsigned int>(r.receivedMask));
    for (const _DeviceNetwork& n : r.setting.networks)
        LOG_INFO << "ip:" << muduo::Fmt("0x%08X", n.ip) << " sub mask:" << muduo::Fmt("0x%08X", n.mask)
                 << " gateway:" << muduo::Fmt("0x%08X", n.gateway) << " dhcp:" << static_cast<int>(n.dhcp)
                 << " netbios name:" << n.netbiosName << " http port:" << n.httpPort << " https port:" << n.httpsPort
                 << " redirect:" << static_cast<int>(n.enableRedirect);
    if (r.receivedMask == 0 || r.setting.networks.empty())
        return 1;
    return GlobalData::saveDeviceNetworkSettingToDb(r.setting) ? 0 : 1;
}
}
