#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlOperatePortProcessor.h"

namespace MgrCtrl
{
// Code 46: switches this unit's outlets.
class OperatePortProcessor final
    : public MgrCtrlOperatePortProcessor<uint32_t, &MgrCtrlPacketBuilder::buildOperatePortRetData>
{
public:
    using MgrCtrlOperatePortProcessor::MgrCtrlOperatePortProcessor;
};
}
