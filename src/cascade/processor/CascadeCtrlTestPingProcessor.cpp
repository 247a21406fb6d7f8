#include "cascade/processor/CascadeCtrlTestPingProcessor.h"

#include <arpa/inet.h>
#include <string>

#include "PingOperations.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace CascadeCtrl
{
bool CascadeCtrlTestPingProcessor::work()
{
    answer_.data.port = request.port;
    std::string host;
    Utility::ipNetworkToString(htonl(request.ip), host);
    LOG_INFO << "ip:" << host;
    return PingOperations(*pings_).test(request.port, host);
}
}
