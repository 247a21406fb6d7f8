#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 25: this unit's temperature and humidity limits.
class TempHumiThresholdQueryProcessor final : public WebCommandProcessor<WebNoModule, WebNoFields>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
