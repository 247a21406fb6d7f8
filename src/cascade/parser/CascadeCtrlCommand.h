#pragma once

namespace CascadeCtrl
{
// Payload byte 0 of every cascade request and of its answer. The Ext forms
// (31 to 43) carry 64-bit outlet masks where their twins carry 32-bit ones.
struct CascadeCtrlCommand
{
    enum Code : unsigned char
    {
        kQueryDeviceInfo = 1,
        kOperatePort = 2,
        kQueryName = 3,
        kSetName = 4,
        kQueryNetwork = 5,
        kSetNetwork = 6,
        kQueryDeviceStatus = 7,
        kQueryOutputThreshold = 8,
        kSetOutputThreshold = 9,
        kQueryInputThreshold = 10,
        kSetInputThreshold = 11,
        kQueryTempHumThreshold = 12,
        kSetTempHumThreshold = 13,
        kQueryPortDelay = 14,
        kSetPortDelay = 15,
        kQueryScheduledTask = 16,
        kAddScheduledTask = 17,
        kUpdateScheduledTask = 18,
        kDeleteScheduledTask = 19,
        kQueryTime = 20,
        kSetTime = 21,
        kClearEnergy = 22,
        kReboot = 23,
        kQueryLog = 24,
        kQueryEnergy = 25,
        kSetNewAddr = 26,
        kSetPing = 27,
        kTestPing = 28,
        kTestPingStatus = 29,
        kQueryPing = 30,
        kQueryDeviceInfoExt = 31,
        kOperatePortExt = 32,
        kQueryNameExt = 33,
        kSetNameExt = 34,
        kQueryDeviceStatusExt = 35,
        kSetOutputThresholdExt = 36,
        kSetPortDelayExt = 37,
        kQueryScheduledTaskExt = 38,
        kAddScheduledTaskExt = 39,
        kUpdateScheduledTaskExt = 40,
        kQueryEnergyExt = 41,
        kSetPingExt = 42,
        kQueryPingExt = 43,
    };
    static const int kFirst = kQueryDeviceInfo;
    static const int kLast = kQueryPingExt;
};
}
