#pragma once
#include "GlobalData.h"
#include "cascade/parser/CascadeCtrlPacketBuilder.h"
#include "cascade/processor/CascadeCtrlProcessor.h"
#include "muduo/base/LogStream.h"
#include "netext/MaskTraits.h"

namespace CascadeCtrl
{
// A slave's handling of one command: work() carries the request out on this
// unit, buildResponseData writes the answer payload (code byte first), and
// process frames it with this unit's address and the request's sequence.
// One object serves every request of its command, one at a time.
class CascadeCtrlSlaveProcessor : public CascadeCtrlProcessor
{
public:
    void process(muduo::net::Buffer& out, int sequence) override;
    // A slave relays nothing.
    void process(const std::shared_ptr<CascadeCtrlRelay>&) override {}

    // True when the command was carried out.
    virtual bool work() = 0;
    virtual void buildResponseData(bool ok, muduo::net::Buffer& payload) = 0;

protected:
    // The bits of mask below this unit's outlet count (the whole mask when
    // the count reaches its width): the outlets an answer may name.
    template <typename M>
    static M belowOutletCount(M mask)
    {
        const int n = GlobalData::getDevice().portCount;
        if (n >= MaskTraits<M>::kWidth)
            return mask;
        return n < 1 ? M(0) : static_cast<M>(mask & ((M(1) << n) - 1));
    }

    // A mask in log lines: 8 hexadecimal digits, or 16 for the Ext twins.
    static muduo::Fmt maskText(uint32_t mask) { return muduo::Fmt("0x%08X", mask); }
    static muduo::Fmt maskText(uint64_t mask) { return muduo::Fmt("0x%016llX", static_cast<unsigned long long>(mask)); }

private:
    CascadeCtrlPacketBuilder builder_;
};
}
