#include "cascade/processor/CascadeCtrlQueryLogProcessor.h"

#include "SystemLog.h"

namespace CascadeCtrl
{
bool CascadeCtrlQueryLogProcessor::work()
{
    const CascadeCtrlQueryLogRequest& r = request;
    std::vector<_SystemLogItem>& logs = answer_.logs;
    if (!SystemLog::instance()->loadSystemLogsFromDb(r.type, r.startYear, r.startMonth, r.startDay, r.endYear,
                                                     r.endMonth, r.endDay, logs))
        logs.clear();
    return true;
}
}
