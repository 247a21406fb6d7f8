#pragma once
#include "CascadeAddressSetting.h"
#include "cascade/parser/CascadeCtrlSetNewAddrRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 60: stores this unit's cascade address for its next start (1 to
// 127; any other address would lose the unit from the chain and fails).
class SetAddressProcessor final : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlSetNewAddrRequest,
                                                                &MgrCtrlPacketBuilder::buildSetAddressRetData>
{
public:
    int work() override { return CascadeAddressSetting::set(request().address, false) ? 0 : 1; }
};
}
