#pragma once
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtRelay.h"
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskRelay.h"
#include "web/web_parser/ScheduledTaskChangeParser.h"
#include "web/web_processor/ScheduledTaskUpdateProcessor.h"

namespace web
{
// Code 28: "id" names the task that the other fields replace.
class ScheduledTaskUpdateParser final
    : public ScheduledTaskChangeParser<ScheduledTaskUpdateParser, ScheduledTaskUpdateProcessor,
                                       WebSlaveRelays<CascadeCtrl::CascadeCtrlUpdateScheduledTaskRelay,
                                                      CascadeCtrl::CascadeCtrlUpdateScheduledTaskExtRelay>>
{
public:
    using ScheduledTaskChangeParser::ScheduledTaskChangeParser;

    static bool read(const Value& content, int, _DeviceTask& task)
    {
        return readInt(content, "id", task.id) && readTask(content, task);
    }
};
}
