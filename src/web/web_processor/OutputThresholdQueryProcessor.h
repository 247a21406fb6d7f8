#pragma once
#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 22: this unit's outlet current limits, one entry per outlet.
class OutputThresholdQueryProcessor final : public WebCommandProcessor<WebNoModule, WebNoFields>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
