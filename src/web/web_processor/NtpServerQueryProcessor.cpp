#include "web/web_processor/NtpServerQueryProcessor.h"

#include "GlobalData.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
bool NtpServerQueryProcessor::buildResponseString(int result, std::string& response)
{
    const _Device& device = GlobalData::getDevice();
    WebPacketBuilder::buildQueryNtpServerRetPacket(writer(), response, result, 0, device.ntpServer,
                                                   device.secondNtpServer);
    return true;
}
}
