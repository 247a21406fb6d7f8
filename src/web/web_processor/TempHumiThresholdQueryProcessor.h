#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 25: this unit's temperature and humidity limits.
class TempHumiThresholdQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
