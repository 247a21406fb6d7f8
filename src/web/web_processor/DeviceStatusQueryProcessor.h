#pragma once
#include <vector>

#include "web/web_processor/DeviceStatusQuery.h"
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 3: the live status of this unit (address 0) and, from the master's
// records, of slaves that have answered; other units are left out.
class DeviceStatusQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;

    std::vector<_DeviceStatusQuery> queries;  // in request order
};
}
