#pragma once
#include "DelaySettings.h"
#include "cascade/parser/CascadeCtrlSetPortDelayRequest.h"
#include "manage_control/processor/MgrCtrlMaskedSetProcessor.h"

namespace MgrCtrl
{
// SetPortDelay and its Ext twin on this unit: the delays of its outlets go
// to pdu.db, then to the record the outlet actions read; 0xFFFF keeps a
// delay as it is in both.
template <typename M, auto Build>
class MgrCtrlSetPortDelayProcessor
    : public MgrCtrlMaskedSetProcessor<CascadeCtrl::CascadeCtrlSetPortDelayRequest<M>, Build>
{
public:
    int work() override { return DelaySettings::set(this->request().delays) ? 0 : 1; }
};
}
