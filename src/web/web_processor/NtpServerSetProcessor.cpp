#include "web/web_processor/NtpServerSetProcessor.h"

#include "GlobalData.h"
#include "NtpTask.h"
#include "muduo/base/Logging.h"
#include "web/web_processor/WebPacketBuilder.h"

namespace web
{
int NtpServerSetProcessor::work()
{
    const std::string& first = fields_.first;
    const std::string& second = fields_.second;
    if (!GlobalData::saveNtpServerIpToDb(first, second))
        return -1;
    LOG_INFO << "ntp server:" << first << " second ntp server:" << second;
    _Device& device = GlobalData::getDevice();
    device.ntpServer = first;
    device.secondNtpServer = second;
    if (module_)
        module_->setServerIp({first, second});
    return 0;
}

bool NtpServerSetProcessor::buildResponseString(int result, std::string& response)
{
    WebPacketBuilder::buildSetNtpServerRetPacket(writer(), response, result);
    return true;
}
}
