#pragma once
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 22: this unit's outlet current limits, one entry per outlet.
class OutputThresholdQueryProcessor final : public WebQueryProcessor<>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
