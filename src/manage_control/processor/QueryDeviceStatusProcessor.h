#pragma once
#include "manage_control/parser/MgrCtrlPacketBuilder.h"
#include "manage_control/processor/MgrCtrlDeviceStatusProcessor.h"

namespace MgrCtrl
{
// Code 47: outlet states and measurements.
class QueryDeviceStatusProcessor final
    : public MgrCtrlDeviceStatusProcessor<uint32_t, &MgrCtrlPacketBuilder::buildQueryDeviceStatusRetData>
{
};
}
