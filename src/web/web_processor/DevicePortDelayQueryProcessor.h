#pragma once
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 24: this unit's outlet delays, one entry per outlet.
class DevicePortDelayQueryProcessor final : public WebQueryProcessor<>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
