#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 39: this unit's two NTP servers.
class NtpServerQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
