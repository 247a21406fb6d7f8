#include "manage_control/parser/MgrCtrlAnswerShapes.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/MgrCtrlPacketBuilder.h"

using muduo::net::Buffer;

// The short answers of setting and action commands: result only, result and
// one byte, result and mask, result and task id.
namespace MgrCtrl
{
typedef MgrCtrlAnswerShapes Shape;

void MgrCtrlPacketBuilder::buildSetNetworkRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kSetNetwork, address, result);
}

void MgrCtrlPacketBuilder::buildOperatePortRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kOperatePort, address, result);
}

void MgrCtrlPacketBuilder::buildOperatePortExtRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kOperatePortExt, address, result);
}

void MgrCtrlPacketBuilder::buildDeleteScheduledTaskRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kDeleteScheduledTask, address, result);
}

void MgrCtrlPacketBuilder::buildSetAddressRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kSetAddress, address, result);
}

void MgrCtrlPacketBuilder::buildSetTimeRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kSetTime, address, result);
}

void MgrCtrlPacketBuilder::buildClearEnergyRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kClearEnergy, address, result);
}

void MgrCtrlPacketBuilder::buildRebootRetData(Buffer& out, int address, int result)
{
    Shape::head(out, kReboot, address, result);
}

void MgrCtrlPacketBuilder::buildSetInputThresholdRetData(Buffer& out, int address, int result, unsigned char mask)
{
    Shape::head(out, kSetInputThreshold, address, result).u8(mask);
}

void MgrCtrlPacketBuilder::buildSetTempHumiThresholdRetData(Buffer& out, int address, int result, unsigned char mask)
{
    Shape::head(out, kSetTempHumThreshold, address, result).u8(mask);
}

void MgrCtrlPacketBuilder::buildTestPingRetData(Buffer& out, int address, int result, int port)
{
    Shape::head(out, kTestPing, address, result).u8(static_cast<uint8_t>(port));
}

void MgrCtrlPacketBuilder::buildTestPingStatusRetData(Buffer& out, int address, int result, int port)
{
    Shape::head(out, kTestPingStatus, address, result).u8(static_cast<uint8_t>(port));
}

void MgrCtrlPacketBuilder::buildSetOutputThresholdRetData(Buffer& out, int address, int result, unsigned int mask)
{
    Shape::resultAndMask<uint32_t>(out, kSetOutputThreshold, address, result, mask);
}

void MgrCtrlPacketBuilder::buildSetOutputThresholdExtRetData(Buffer& out, int address, int result,
                                                             unsigned long long mask)
{
    Shape::resultAndMask<uint64_t>(out, kSetOutputThresholdExt, address, result, mask);
}

void MgrCtrlPacketBuilder::buildSetPortDelayRetData(Buffer& out, int address, int result, unsigned int mask)
{
    Shape::resultAndMask<uint32_t>(out, kSetPortDelay, address, result, mask);
}

void MgrCtrlPacketBuilder::buildSetPortDelayExtRetData(Buffer& out, int address, int result, unsigned long long mask)
{
    Shape::resultAndMask<uint64_t>(out, kSetPortDelayExt, address, result, mask);
}

void MgrCtrlPacketBuilder::buildSetPingRetData(Buffer& out, int address, int result, unsigned int mask)
{
    Shape::resultAndMask<uint32_t>(out, kSetPing, address, result, mask);
}

void MgrCtrlPacketBuilder::buildSetPingExtRetData(Buffer& out, int address, int result, unsigned long long mask)
{
    Shape::resultAndMask<uint64_t>(out, kSetPingExt, address, result, mask);
}

void MgrCtrlPacketBuilder::buildAddScheduledTaskRetData(Buffer& out, int address, int result, unsigned int id)
{
    Shape::resultAndId(out, kAddScheduledTask, address, result, id);
}

void MgrCtrlPacketBuilder::buildAddScheduledTaskExtRetData(Buffer& out, int address, int result, unsigned int id)
{
    Shape::resultAndId(out, kAddScheduledTaskExt, address, result, id);
}

void MgrCtrlPacketBuilder::buildUpdateScheduledTaskRetData(Buffer& out, int address, int result, unsigned int id)
{
    Shape::resultAndId(out, kUpdateScheduledTask, address, result, id);
}

void MgrCtrlPacketBuilder::buildUpdateScheduledTaskExtRetData(Buffer& out, int address, int result, unsigned int id)
{
    Shape::resultAndId(out, kUpdateScheduledTaskExt, address, result, id);
}
}
