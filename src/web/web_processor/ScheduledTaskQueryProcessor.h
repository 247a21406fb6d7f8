#pragma once
#include <vector>

#include "cascade/parser/CascadeCtrlQueryScheduledTaskRequest.h"
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 26: this unit's tasks due between the two bounds (a bound with a -1
// field is not applied), newest first.
class ScheduledTaskQueryProcessor final
    : public WebCommandProcessor<WebNoModule, CascadeCtrl::CascadeCtrlQueryScheduledTaskRequest>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;

private:
    std::vector<_DeviceTask> tasks_;
};
}
