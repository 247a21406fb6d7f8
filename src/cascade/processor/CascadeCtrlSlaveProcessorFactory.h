#pragma once
#include "cascade/processor/CascadeCtrlDataParserTable.h"
#include "cascade/processor/CascadeCtrlProcessorFactory.h"
#include "manage_control/processor/MgrCtrlModules.h"

class PduServer;

namespace CascadeCtrl
{
// The cascade end of a unit that is not the master: answers every request
// addressed to it by carrying it out here, with the request's sequence
// number, and never speaks first. Its address is the unit's own, taken
// once at start (a new address applies from the next start). Relays are
// dropped: only a master relays. Loop thread only.
class CascadeCtrlSlaveProcessorFactory final : public CascadeCtrlProcessorFactory
{
public:
    CascadeCtrlSlaveProcessorFactory(muduo::net::EventLoop* loop, PduServer* server);
    // The processors work on the modules given; a command whose module is
    // missing has no parser. Answers go out on line when there is one.
    CascadeCtrlSlaveProcessorFactory(muduo::net::EventLoop* loop, const std::shared_ptr<SerialPort>& line,
                                     const MgrCtrl::MgrCtrlModules& modules);
    ~CascadeCtrlSlaveProcessorFactory() override;

    void start() override;
    void stop() override {}
    void addCascadeCtrlRelay(const std::shared_ptr<CascadeCtrlRelay>&) override {}
    std::shared_ptr<CascadeCtrlDataParser> getDataParser(unsigned char code) override { return parsers_.find(code); }
    // Carries the request out and writes the answer frame on the line.
    void process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence) override;

private:
    CascadeCtrlDataParserTable parsers_;
};
}
