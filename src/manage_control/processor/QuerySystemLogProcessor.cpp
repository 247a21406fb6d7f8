#include "manage_control/processor/QuerySystemLogProcessor.h"

#include "SystemLog.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

namespace MgrCtrl
{
int QuerySystemLogProcessor::work()
{
    const CascadeCtrl::CascadeCtrlQueryLogRequest& r = request();
    logs_.clear();
    if (SystemLog::instance()->loadSystemLogsFromDb(r.type, r.startYear, r.startMonth, r.startDay, r.endYear,
                                                    r.endMonth, r.endDay, logs_))
        return 0;
    logs_.clear();
    return 1;
}

void QuerySystemLogProcessor::buildResponseData(int, muduo::net::Buffer& data)
{
    MgrCtrlPacketBuilder::buildQueryLogRetData(data, 0, logs_);
}
}
