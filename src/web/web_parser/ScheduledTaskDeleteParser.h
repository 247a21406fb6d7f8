#pragma once
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/ScheduledTaskDeleteProcessor.h"

namespace web
{
// Code 29: "ids", the tasks to delete in one go.
class ScheduledTaskDeleteParser final
    : public WebCommandParser<ScheduledTaskDeleteParser, ScheduledTaskDeleteProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlDeleteScheduledTaskRelay>>
{
public:
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, std::vector<int>& ids) { return readIntArray(content, "ids", ids); }
    static bool fill(const std::vector<int>& ids, CascadeCtrl::CascadeCtrlDeleteScheduledTaskRequest& request)
    {
        request.ids.assign(ids.begin(), ids.end());
        return true;
    }
};
}
