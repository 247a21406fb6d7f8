#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlDeviceStatusProcessor.h"

namespace MgrCtrl
{
// Code 74: outlet states and measurements.
class QueryDeviceStatusExtProcessor final
    : public MgrCtrlDeviceStatusProcessor<uint64_t, &MgrCtrlPacketBuilder::buildQueryDeviceStatusExtRetData>
{
};
}
