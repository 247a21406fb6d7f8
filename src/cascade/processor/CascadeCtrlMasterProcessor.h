#pragma once
#include <string>

#include "JsonCpp.h"
#include "cascade/processor/CascadeCtrlProcessor.h"

namespace muduo
{
namespace net
{
class WireReader;
}
}

namespace CascadeCtrl
{
// A master's handling of one answer code: its parser reads the answer
// (after the code byte) into it, and process(relay) hands it to whoever
// asked: a manage-control reply frame or a web JSON answer through the
// relay's sender, then work() updates the master's records. An answer to
// the master's own poll reaches no client; the poll processors override
// process(relay) instead. One object serves every answer of its code.
class CascadeCtrlMasterProcessor : public CascadeCtrlProcessor
{
public:
    // A master answers no request.
    void process(muduo::net::Buffer&, int) override {}
    void process(const std::shared_ptr<CascadeCtrlRelay>& relay) override;

    // The answer's fields after the code byte; false, with the last
    // answer's fields kept, when they are not all there.
    virtual bool readAnswer(muduo::net::WireReader& r) = 0;
    // The manage-control reply data (code byte first).
    virtual void buildMgrCtrlDataPacket(muduo::net::Buffer& data) = 0;
    // The web answer; left empty for a command no web request relays.
    virtual void buildWebTransferPacket(std::string& text) = 0;
    // After the client's reply went out: changes to the master's records.
    virtual void work() {}

protected:
    Json::JsonCpp json_;
};
}
