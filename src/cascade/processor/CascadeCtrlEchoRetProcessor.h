#pragma once
#include <string>

#include "cascade/processor/CascadeCtrlResultRetProcessor.h"

namespace CascadeCtrl
{
// The field a set answer echoes after a status of 0: the outlet mask of
// the threshold, delay and ping changes, the pair mask of the limit
// changes, the port of the ping tests (these two also after a failure).
struct CascadeCtrlAnswerEcho
{
    template <typename M>
    static M of(const CascadeCtrlOutletMaskRequest<M>& d) { return d.mask; }
    static unsigned char of(const CascadeCtrlPairSelectionRequest& d) { return d.mask; }
    static unsigned char of(const CascadeCtrlInputThresholdData& d) { return d.threshold.mask; }
    static int of(const CascadeCtrlTestPingStatusRequest& d) { return d.port; }
};

// Answers that the client sees as a result and the echoed field (0 when
// the slave sent none): the manage-control reply is kMgr's code, the
// slave's address, the status and the field; the web answer the status.
template <int kCode, WebResultWriter kWeb, auto kMgr>
class CascadeCtrlEchoRetProcessor : public CascadeCtrlRetCommand<kCode>
{
public:
    void buildMgrCtrlDataPacket(muduo::net::Buffer& data) override
    {
        const auto echo = CascadeCtrlAnswerEcho::of(this->answer_.data);
        LOG_INFO << "result:" << this->result() << " echo:" << static_cast<unsigned long long>(echo);
        kMgr(data, this->address(), this->result(), echo);
    }
    void buildWebTransferPacket(std::string& text) override { kWeb(this->json_, text, this->result()); }
};
}
