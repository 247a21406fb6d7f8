#pragma once
#include "cascade/processor/CascadeCtrlQueryScheduledTaskExtRelay.h"
#include "cascade/processor/CascadeCtrlQueryScheduledTaskRelay.h"
#include "web/web_parser/WebCommandParser.h"
#include "web/web_processor/ScheduledTaskQueryProcessor.h"

namespace web
{
// Code 26: "start_date" and "end_date", each optional and then complete.
class ScheduledTaskQueryParser final
    : public WebCommandParser<ScheduledTaskQueryParser, ScheduledTaskQueryProcessor,
                              WebSlaveRelays<CascadeCtrl::CascadeCtrlQueryScheduledTaskRelay,
                                             CascadeCtrl::CascadeCtrlQueryScheduledTaskExtRelay>>
{
public:
    typedef CascadeCtrl::CascadeCtrlQueryScheduledTaskRequest Bounds;
    using WebCommandParser::WebCommandParser;

    static bool read(const Value& content, int, Bounds& bounds);
    static bool fill(const Bounds& bounds, Bounds& request);

private:
    static bool travels(const _DeviceDateTime& bound);
};
}
