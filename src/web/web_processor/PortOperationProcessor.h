#pragma once
#include <memory>
#include <vector>

#include "web/web_processor/WebCommandProcessor.h"

class PowerModuleContainer;

namespace web
{
// The outlets of one switching request.
struct _PortOperation
{
    std::vector<int> ports;  // in request order
    int action = 0;          // 1 on, 0 off, other restart
};

// Code 2: switches the outlets of the list by the outlet action rule, each
// with its own delays and each once. Numbers that are no outlet of this
// unit are skipped. -1 when the rule refuses the request (nothing switched).
class PortOperationProcessor final
    : public WebCommandProcessor<std::shared_ptr<PowerModuleContainer>, _PortOperation>
{
public:
    using WebCommandProcessor::WebCommandProcessor;

    int work() override;
    bool buildResponseString(int result, std::string& response) override;
};
}
