#include "web/web_processor/PingQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool PingQueryProcessor::buildResponseString(int result, std::string& response)
{
    const std::map<int, PingSetting>& stored = GlobalData::getDevice().pingSettings;
    std::vector<PingSetting> found;
    for (int port : fields_)
    {
        const auto it = stored.find(port);
        if (it != stored.end())
            found.push_back(it->second);
    }
    WebPacketBuilder::buildQueryPingRetPacket(writer(), response, result, 0, found);
    return true;
}
}
