#pragma once
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 1: this unit and the slaves that have answered the master's poll.
class DeviceListQueryProcessor final : public WebQueryProcessor<>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
