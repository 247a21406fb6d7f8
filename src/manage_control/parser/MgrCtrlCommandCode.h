#pragma once
#include <cstdint>

namespace MgrCtrl
{
// Byte 0 of every manage-control request and answer.
enum MgrCtrlCommandCode : uint8_t
{
    kScanDevice = 41,
    kGetDeviceList = 42,
    kSetName = 43,
    kQueryNetwork = 44,
    kSetNetwork = 45,
    kOperatePort = 46,
    kQueryDeviceStatus = 47,
    kQueryOutputThreshold = 48,
    kSetOutputThreshold = 49,
    kQueryInputThreshold = 50,
    kSetInputThreshold = 51,
    kQueryTempHumThreshold = 52,
    kSetTempHumThreshold = 53,
    kQueryPortDelay = 54,
    kSetPortDelay = 55,
    kQueryScheduledTask = 56,
    kAddScheduledTask = 57,
    kUpdateScheduledTask = 58,
    kDeleteScheduledTask = 59,
    kSetAddress = 60,
    kQueryTime = 61,
    kSetTime = 62,
    kClearEnergy = 63,
    kReboot = 64,
    kQuerySystemLog = 65,
    kQueryEnergy = 66,
    kSetPing = 67,
    kTestPing = 68,
    kTestPingStatus = 69,
    kQueryName = 70,
    kQueryPing = 71,
    kSetNameExt = 72,
    kOperatePortExt = 73,
    kQueryDeviceStatusExt = 74,
    kSetOutputThresholdExt = 75,
    kSetPortDelayExt = 76,
    kQueryScheduledTaskExt = 77,
    kAddScheduledTaskExt = 78,
    kUpdateScheduledTaskExt = 79,
    kQueryEnergyExt = 80,
    kSetPingExt = 81,
    kQueryNameExt = 82,
    kQueryPingExt = 83,
};
}
