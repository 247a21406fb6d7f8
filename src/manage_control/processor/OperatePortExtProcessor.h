#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlOperatePortProcessor.h"

namespace MgrCtrl
{
// Code 73: switches this unit's outlets.
class OperatePortExtProcessor final
    : public MgrCtrlOperatePortProcessor<uint64_t, &MgrCtrlPacketBuilder::buildOperatePortExtRetData>
{
public:
    using MgrCtrlOperatePortProcessor::MgrCtrlOperatePortProcessor;
};
}
