#pragma once
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlRequestProcessor.h"

namespace MgrCtrl
{
// Code 64: reboots this unit; the reply leaves while it goes down.
class RebootProcessor final
    : public MgrCtrlResultProcessor<CascadeCtrl::CascadeCtrlEmptyRequest, &MgrCtrlPacketBuilder::buildRebootRetData>
{
public:
    int work() override;
};
}
