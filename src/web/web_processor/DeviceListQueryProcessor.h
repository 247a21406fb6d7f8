#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 1: this unit and the slaves that have answered the master's poll.
class DeviceListQueryProcessor final : public WebCommandProcessor<WebNoModule, WebNoFields>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
