#include "manage_control/processor/GetDeviceListProcessor.h"

#include <vector>

#include "GlobalData.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "muduo/base/Logging.h"
#include "netext/WireWriter.h"

namespace MgrCtrl
{
namespace
{
const size_t kTextLength = 16;
const size_t kVersionLength = 10;
// The count byte covers this unit's record and at most this many slaves'.
const size_t kMostSlaves = 254;

void writeRecord(muduo::net::WireWriter& w, int address, const std::string& uid, const std::string& name,
                 const std::string& version)
{
    w.u8(static_cast<uint8_t>(address)).text(kTextLength, uid).text(kTextLength, name).text(kVersionLength, version);
}
}

void GetDeviceListProcessor::buildResponseData(int result, muduo::net::Buffer& data)
{
    const _Device& device = GlobalData::getDevice();
    LOG_INFO << "device info, addr:" << device.address << " uid:" << device.uid << " name:" << device.deviceName
             << " soft ver:" << device.softVersion;
    muduo::net::WireWriter w(data);
    w.u8(kGetDeviceList).u8(static_cast<uint8_t>(result));
    if (result != 0)
        return;
    // The count is the number of records that follow: slaves the poll has
    // not found (or lost) get none, so they are not counted either.
    std::vector<const _SlaveDevice*> found;
    for (const auto& entry : device.slaves)
        if (entry.second.valid)
            found.push_back(&entry.second);
    if (found.size() > kMostSlaves)
    {
        LOG_WARN << "device list cut from " << found.size() << " to " << kMostSlaves << " slaves";
        found.resize(kMostSlaves);
    }
    w.u8(static_cast<uint8_t>(found.size() + 1));
    writeRecord(w, device.isMaster ? 0 : device.address, device.uid, device.deviceName, device.softVersion);
    for (const _SlaveDevice* slave : found)
        writeRecord(w, slave->address, slave->uid, slave->deviceName, slave->fwVersion);
}
}
