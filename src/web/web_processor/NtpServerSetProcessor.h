#pragma once
#include <memory>
#include <string>

#include "web/web_processor/WebProcessor.h"

class NtpTask;

namespace web
{
// Code 40: saves this unit's two NTP servers, then the record and the NTP
// task take them (from its next synchronisation on).
class NtpServerSetProcessor final : public WebProcessor
{
public:
    explicit NtpServerSetProcessor(const std::shared_ptr<NtpTask>& ntpTask);

    int work() override;
    bool buildResponseString(int result, std::string& response) override;

    std::string first;
    std::string second;

private:
    std::shared_ptr<NtpTask> ntpTask_;
};
}
