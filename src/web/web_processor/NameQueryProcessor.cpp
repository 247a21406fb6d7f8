#include "web/web_processor/NameQueryProcessor.h"

#include "LocalOutlets.h"
#include "web/web_processor/RecordedSlave.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
namespace
{
template <class Names>
void take(std::map<int, std::string>& out, const std::set<int>& ports, bool unitName, const std::string& unit,
          const Names& outlets, int count)
{
    out.clear();
    if (unitName)
        out[-1] = unit;
    // The outlet count comes from an identity text; the table is fixed.
    const int limit = count < static_cast<int>(outlets.size()) ? count : static_cast<int>(outlets.size());
    for (int port : ports)
        if (port >= 0 && port < limit)
            out[port] = outlets[static_cast<size_t>(port)];
}
}

int NameQueryProcessor::work()
{
    const _NameQuery& q = fields_;
    if (q.address == 0)
    {
        const _Device& device = GlobalData::getDevice();
        take(names_, q.ports, q.unitName, device.deviceName, device.portNames, LocalOutlets::count());
        return 0;
    }
    const _SlaveDevice* slave = RecordedSlave::find(q.address);
    if (!slave)
        return -1;
    take(names_, q.ports, q.unitName, slave->deviceName, slave->portNames, slave->portCount);
    return 0;
}

bool NameQueryProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildQueryNameRetPacket(writer(), response, result, fields_.address, names_);
    return true;
}
}
