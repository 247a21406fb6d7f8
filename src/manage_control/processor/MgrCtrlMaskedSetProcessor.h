#pragma once
#include "GlobalData.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"
#include "manage_control/processor/MgrCtrlUnits.h"

namespace MgrCtrl
{
// The per-outlet set commands (limits, delays, watchdogs): the reply is
// code, 0, result and the received mask cut to this unit's outlets, also
// when the result is a failure. Build is the command's (Buffer&, int
// address, int result, mask) builder.
template <class R, auto Build>
class MgrCtrlMaskedSetProcessor : public MgrCtrlRequestProcessor<R>
{
public:
    void buildResponseData(int result, muduo::net::Buffer& data) override
    {
        Build(data, 0, result,
              MgrCtrlUnits::outletsOf(this->request().receivedMask, GlobalData::getDevice().portCount));
    }
};
}
