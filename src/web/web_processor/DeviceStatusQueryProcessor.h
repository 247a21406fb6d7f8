#pragma once
#include <vector>

#include "web/web_processor/DeviceStatusQuery.h"
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 3: the live status of this unit (address 0) and, from the master's
// records, of slaves that have answered; other units are left out. The
// queries are in request order.
class DeviceStatusQueryProcessor final : public WebQueryProcessor<std::vector<_DeviceStatusQuery>>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
