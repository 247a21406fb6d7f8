#pragma once
#include <vector>

#include "web/web_processor/WebQueryProcessor.h"

namespace web
{
// Code 38: the stored watchdog settings of the listed outlets, in list
// order; outlets without settings are left out.
class PingQueryProcessor final : public WebQueryProcessor<std::vector<int>>
{
public:
    using WebQueryProcessor::WebQueryProcessor;
    bool buildResponseString(int result, std::string& response) override;
};
}
