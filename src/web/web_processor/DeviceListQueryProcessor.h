#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 1: this unit and the slaves that have answered the master's poll.
class DeviceListQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
