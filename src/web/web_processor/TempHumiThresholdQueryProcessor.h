#pragma once
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 25: this unit's temperature and humidity limits.
class TempHumiThresholdQueryProcessor final : public WebQueryProcessor<>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
