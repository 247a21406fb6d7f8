#pragma once
#include <vector>

#include "web/web_parser/WebModules.h"
#include "web/web_processor/WebCommandProcessor.h"

namespace web
{
// Code 38: the stored watchdog settings of the listed outlets, in list
// order; outlets without settings are left out.
class PingQueryProcessor final : public WebCommandProcessor<WebNoModule, std::vector<int>>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override { return 0; }
    bool buildResponseString(int result, std::string& response) override;
};
}
