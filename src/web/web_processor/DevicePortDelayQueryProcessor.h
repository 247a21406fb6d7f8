#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 24: this unit's outlet delays, one entry per outlet.
class DevicePortDelayQueryProcessor final : public WebCommandProcessor<WebNoModule, WebNoFields>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
