#pragma once
#include <memory>
#include <string>

namespace CascadeCtrl
{
class CascadeCtrlRelay;
}

namespace web
{
// One parsed web request: answers it here, or carries the relay that takes
// it to a slave.
class WebProcessor
{
public:
    virtual ~WebProcessor() = default;
    // Runs the request and writes the JSON answer.
    virtual void process(std::string& response) = 0;

    const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay() const { return relay_; }
    void setRelay(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay) { relay_ = relay; }

private:
    std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay_;
};
}
