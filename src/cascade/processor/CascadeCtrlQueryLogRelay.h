#pragma once
#include "cascade/processor/CascadeCtrlRequestRelay.h"

namespace CascadeCtrl
{
// Carries QueryLog (code 24) to a slave.
class CascadeCtrlQueryLogRelay final
    : public CascadeCtrlRequestRelay<CascadeCtrlQueryLogRequest,
                                     &CascadeCtrlPacketBuilder::buildQueryLogData>
{
public:
    using CascadeCtrlRequestRelay::CascadeCtrlRequestRelay;
};
}
