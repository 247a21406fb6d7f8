#pragma once
#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 39: this unit's two NTP servers.
class NtpServerQueryProcessor final : public WebQueryProcessor<>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
