#pragma once
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtRelay.h"
#include "cascade/processor/CascadeCtrlAddScheduledTaskRelay.h"
#include "web/web_parser/ScheduledTaskChangeParser.h"
#include "web/web_processor/ScheduledTaskAddProcessor.h"

namespace web
{
// Code 27: a new task ("id" is not read).
class ScheduledTaskAddParser final
    : public ScheduledTaskChangeParser<ScheduledTaskAddParser, ScheduledTaskAddProcessor,
                                       WebSlaveRelays<CascadeCtrl::CascadeCtrlAddScheduledTaskRelay,
                                                      CascadeCtrl::CascadeCtrlAddScheduledTaskExtRelay>>
{
public:
    using ScheduledTaskChangeParser::ScheduledTaskChangeParser;

    static bool read(const Value& content, int, _DeviceTask& task) { return readTask(content, task); }
};
}
