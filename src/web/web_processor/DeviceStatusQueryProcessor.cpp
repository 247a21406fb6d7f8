#include "web/web_processor/DeviceStatusQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/RecordedSlave.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool DeviceStatusQueryProcessor::buildResponseString(int result, std::string& response)
{
    const _Device& device = GlobalData::getDevice();
    WebPacketBuilder::startBuildQueryDeviceStatusRetPacket(writer(), result);
    for (const _DeviceStatusQuery& query : fields_)
    {
        if (query.address == 0)
        {
            WebPacketBuilder::addBuildQueryDeviceStatusRetPacket(writer(), result, query, device.status,
                                                                 device.portCount);
            continue;
        }
        if (const _SlaveDevice* slave = RecordedSlave::find(query.address))
            WebPacketBuilder::addBuildQueryDeviceStatusRetPacket(writer(), result, query, slave->status,
                                                                 slave->portCount);
    }
    WebPacketBuilder::endBuildQueryDeviceStatusRetPacket(writer(), result, response);
    return true;
}
}
