#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 24: this unit's outlet delays, one entry per outlet.
class DevicePortDelayQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
