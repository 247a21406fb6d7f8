#include "PingOperations.h"

#include "LocalOutlets.h"
#include "PingTaskContainer.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
const unsigned int kTestTimeout = 3;
}

bool PingOperations::apply(const std::map<int, PingSetting>& settings)
{
    std::map<int, PingSetting> keyed(settings);
    for (auto& entry : keyed)
        entry.second.port = entry.first;
    if (!GlobalData::savePingSettingToDb(keyed))
        return false;
    _Device& device = GlobalData::getDevice();
    for (const auto& entry : keyed)
    {
        const PingSetting& setting = entry.second;
        if (!LocalOutlets::contains(setting.port))
        {
            LOG_INFO << "ping setting of port " << setting.port << " saved, not applied: not an outlet of this unit";
            continue;
        }
        LOG_INFO << "port:" << setting.port << ",ip:" << muduo::Fmt("0x%08X", setting.ip)
                 << ",interval:" << setting.interval << ",timeout:" << setting.timeout;
        device.pingSettings[setting.port] = setting;
        tasks_.deletePingTask(setting.port);
        if (setting.enabled != 0)
            tasks_.addPingTask(setting, true);
    }
    return true;
}

bool PingOperations::test(int port, const std::string& host)
{
    unsigned int address = 0;
    if (!LocalOutlets::contains(port) || !Utility::ipStringToNetwork(host, address))
    {
        LOG_WARN << "ping test of port " << port << " to \"" << host << "\" refused";
        return false;
    }
    GlobalData::getDevice().status.pingTestResult[static_cast<size_t>(port)] = 0;
    tasks_.addPingTask(port, host, 0, kTestTimeout, 0, false);
    return true;
}

bool PingOperations::testAnswered(int port)
{
    const _DeviceStatus& status = GlobalData::getDevice().status;
    return LocalOutlets::contains(port) && status.pingTestResult[static_cast<size_t>(port)] == 1;
}
