#include "manage_control/processor/TestPingProcessor.h"

#include <arpa/inet.h>

#include <string>

#include "PingOperations.h"
#include "Utility.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
int TestPingProcessor::work()
{
    std::string host;
    Utility::ipNetworkToString(htonl(request().ip), host);
    return PingOperations(*pings_).test(request().port, host) ? 0 : 1;
}

void TestPingProcessor::buildResponseData(int result, muduo::net::Buffer& data)
{
    MgrCtrlPacketBuilder::buildTestPingRetData(data, 0, result, request().port);
}
}
