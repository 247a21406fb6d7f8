#include "cascade/processor/CascadeCtrlTestPingStatusProcessor.h"

#include "PingOperations.h"

namespace CascadeCtrl
{
bool CascadeCtrlTestPingStatusProcessor::work()
{
    answer_.data.port = request.port;
    return PingOperations::testAnswered(request.port);
}
}
