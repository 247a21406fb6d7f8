#pragma once
#include "web/web_processor/WebProcessor.h"

namespace web
{
// Code 22: this unit's outlet current limits, one entry per outlet.
class OutputThresholdQueryProcessor final : public WebProcessor
{
public:
    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
