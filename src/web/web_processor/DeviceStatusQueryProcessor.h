#pragma once
#include <vector>

#include "web/web_parser/WebModules.h"
#include "web/web_processor/DeviceStatusQuery.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 3: the live status of this unit (address 0) and, from the master's
// records, of slaves that have answered; other units are left out. The
// queries are in request order.
class DeviceStatusQueryProcessor final : public WebCommandProcessor<WebNoModule, std::vector<_DeviceStatusQuery>>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
