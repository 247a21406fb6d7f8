#pragma once
#include <memory>

namespace CascadeCtrl
{
class CascadeCtrlRelay;

// The unit's end of the cascade chain: a master that polls its slaves and
// relays client requests to them, or a slave that answers for itself.
// PduServer owns exactly one, chosen by the device record's role.
class CascadeCtrlProcessorFactory
{
public:
    virtual ~CascadeCtrlProcessorFactory() = default;

    // Called last when the server starts.
    virtual void start() = 0;
    // Takes a relay whose serial port and answer sender are set; sends it or
    // queues it.
    virtual void addCascadeCtrlRelay(std::shared_ptr<CascadeCtrlRelay> relay) = 0;

    // Every chunk read from the cascade line; frames are reassembled here.
    void processCascadeCtrlPacket(const char* data, int length);
};
}
