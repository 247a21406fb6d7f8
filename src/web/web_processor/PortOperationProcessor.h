#pragma once
#include <memory>
#include <vector>

#include "web/web_processor/WebProcessor.h"

class PowerModuleContainer;

namespace web
{
// Code 2: switches the outlets of the list by the outlet action rule, each
// with its own delays. Numbers that are no outlet of this unit are skipped.
class PortOperationProcessor final : public WebProcessor
{
public:
    explicit PortOperationProcessor(const std::shared_ptr<PowerModuleContainer>& modules);

    int work() override;
    bool buildResponseString(int result, std::string& response) override;

    std::vector<int> ports;  // in request order
    int action = 0;          // 1 on, 0 off, other restart

private:
    std::shared_ptr<PowerModuleContainer> modules_;
};
}
