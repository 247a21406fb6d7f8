#pragma once
#include <memory>

#include "DeviceRecords.h"
#include "web/web_processor/WebCommandProcessor.h"

class ScheduledTaskContainer;

namespace web
{
// Code 27: stores the task, then arms it; the answer carries its new id.
class ScheduledTaskAddProcessor final
    : public WebCommandProcessor<std::shared_ptr<ScheduledTaskContainer>, _DeviceTask>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;
};
}
