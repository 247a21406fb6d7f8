#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/parser/MgrCtrlSetNetworkRequest.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 45: stores the first interface record and the manage-control port
// of this unit for its next start; nothing changes now. A request that
// announces no interface fails.
class SetNetworkProcessor final
    : public MgrCtrlResultProcessor<MgrCtrlSetNetworkRequest, &MgrCtrlPacketBuilder::buildSetNetworkRetData>
{
public:
    int work() override;
};
}
