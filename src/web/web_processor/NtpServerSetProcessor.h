#pragma once
#include <memory>
#include <string>
#include <utility>

#include "web/web_processor/WebCommandProcessor.h"

class NtpTask;

namespace web
{
// Code 40: saves this unit's two NTP servers (first and second), then the
// record and the NTP task take them (from its next synchronisation on).
class NtpServerSetProcessor final
    : public WebCommandProcessor<std::shared_ptr<NtpTask>, std::pair<std::string, std::string>>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;
};
}
