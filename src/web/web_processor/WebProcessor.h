#pragma once
#include <memory>
#include <string>

#include "JsonCpp.h"
#include "muduo/base/noncopyable.h"

namespace CascadeCtrl
{
class CascadeCtrlRelay;
}

namespace web
{
// One parsed web request, alive for that request only: it answers here, or
// carries the relay that takes the request to a slave.
class WebProcessor : muduo::noncopyable
{
public:
    WebProcessor();
    virtual ~WebProcessor();

    // Carries the request out and writes its answer; callers ignore the flag.
    bool process(std::string& response);

    // 0 done, any other value failed; the answer's "result".
    virtual int work() = 0;
    // Writes the answer with the command's writer of WebPacketBuilder.
    virtual bool buildResponseString(int result, std::string& response) = 0;

    const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay() const { return relay_; }
    void setRelay(const std::shared_ptr<CascadeCtrl::CascadeCtrlRelay>& relay) { relay_ = relay; }

protected:
    // The writer of this request's answer.
    Json::JsonCpp& writer() { return writer_; }

private:
    Json::JsonCpp writer_;
    std::shared_ptr<CascadeCtrl::CascadeCtrlRelay> relay_;
};
}
