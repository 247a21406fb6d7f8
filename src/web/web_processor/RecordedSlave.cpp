#include "web/web_processor/RecordedSlave.h"

#include "GlobalData.h"
#include "muduo/base/Logging.h"

namespace web
{
const _SlaveDevice* RecordedSlave::find(int addr)
{
    const _Device& device = GlobalData::getDevice();
    const auto it = device.slaves.find(addr);
    if (!device.isMaster || it == device.slaves.end() || !it->second.valid)
    {
        LOG_INFO << "no record of a slave with addr:" << addr;
        return nullptr;
    }
    return &it->second;
}
}
