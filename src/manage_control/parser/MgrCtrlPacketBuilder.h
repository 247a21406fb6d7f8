#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DeviceNetwork.h"
#include "DeviceRecords.h"
#include "DeviceStatus.h"
#include "DeviceThresholds.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

namespace MgrCtrl
{
// Writes manage-control answers: the frame around answer data, and the
// answer data of every command, for this unit's processors and for answers
// relayed from a slave alike. Every builder appends and never clears.
// Address and result travel as their low 8 bits.
class MgrCtrlPacketBuilder
{
public:
    typedef std::vector<std::vector<uint32_t>> EnergySeries;

    // One answer frame carrying the readable bytes of data (not consumed).
    static void buildRetPacket(muduo::net::Buffer& out, bool checksumFlag, const muduo::net::Buffer& data);

    // Status, names, network, clock, event log and energy.
    static void buildQueryDeviceStatusRetData(muduo::net::Buffer& out, int address, int result,
                                              unsigned char statusMask, unsigned int outletMask,
                                              const _DeviceStatus& status);
    static void buildQueryDeviceStatusExtRetData(muduo::net::Buffer& out, int address, int result,
                                                 unsigned char statusMask, unsigned long long outletMask,
                                                 const _DeviceStatus& status);
    static void buildQueryNameRetData(muduo::net::Buffer& out, int address, int result, unsigned int mask,
                                      const std::vector<std::string>& names);
    static void buildQueryNameExtRetData(muduo::net::Buffer& out, int address, int result, unsigned long long mask,
                                         const std::vector<std::string>& names);
    // No address byte: the result is byte 1.
    static void buildSetNameRetData(muduo::net::Buffer& out, int result, unsigned int mask);
    static void buildSetNameExtRetData(muduo::net::Buffer& out, int result, unsigned long long mask);
    static void buildQueryNetworkRetData(muduo::net::Buffer& out, int address, int result,
                                         const _DeviceNetworkSetting& settings);
    static void buildQueryTimeRetData(muduo::net::Buffer& out, int address, int result, const _DeviceDateTime& time);
    static void buildQueryLogRetData(muduo::net::Buffer& out, int address, const std::vector<_SystemLogItem>& logs);
    // No result byte: byte 2 is the type, and four zero bytes stand in for
    // the mask of a failed query.
    static void buildQueryEnergyRetData(muduo::net::Buffer& out, int address, int result, int type,
                                        unsigned int mask, int startYear, int startMonth, int startDay,
                                        int startHour, const EnergySeries& series);
    static void buildQueryEnergyExtRetData(muduo::net::Buffer& out, int address, int result, int type,
                                           unsigned long long mask, int startYear, int startMonth, int startDay,
                                           int startHour, const EnergySeries& series);

    // Code, address, result.
    static void buildSetNetworkRetData(muduo::net::Buffer& out, int address, int result);
    static void buildOperatePortRetData(muduo::net::Buffer& out, int address, int result);
    static void buildOperatePortExtRetData(muduo::net::Buffer& out, int address, int result);
    static void buildDeleteScheduledTaskRetData(muduo::net::Buffer& out, int address, int result);
    static void buildSetAddressRetData(muduo::net::Buffer& out, int address, int result);
    static void buildSetTimeRetData(muduo::net::Buffer& out, int address, int result);
    static void buildClearEnergyRetData(muduo::net::Buffer& out, int address, int result);
    static void buildRebootRetData(muduo::net::Buffer& out, int address, int result);

    // Code, address, result and one byte, whatever the result.
    static void buildSetInputThresholdRetData(muduo::net::Buffer& out, int address, int result, unsigned char mask);
    static void buildSetTempHumiThresholdRetData(muduo::net::Buffer& out, int address, int result,
                                                 unsigned char mask);
    static void buildTestPingRetData(muduo::net::Buffer& out, int address, int result, int port);
    static void buildTestPingStatusRetData(muduo::net::Buffer& out, int address, int result, int port);

    // Code, address, result and the outlet mask, whatever the result.
    static void buildSetOutputThresholdRetData(muduo::net::Buffer& out, int address, int result, unsigned int mask);
    static void buildSetOutputThresholdExtRetData(muduo::net::Buffer& out, int address, int result,
                                                  unsigned long long mask);
    static void buildSetPortDelayRetData(muduo::net::Buffer& out, int address, int result, unsigned int mask);
    static void buildSetPortDelayExtRetData(muduo::net::Buffer& out, int address, int result,
                                            unsigned long long mask);
    static void buildSetPingRetData(muduo::net::Buffer& out, int address, int result, unsigned int mask);
    static void buildSetPingExtRetData(muduo::net::Buffer& out, int address, int result, unsigned long long mask);

    // Code, address, result and, when the result is 0, the task id.
    static void buildAddScheduledTaskRetData(muduo::net::Buffer& out, int address, int result, unsigned int id);
    static void buildAddScheduledTaskExtRetData(muduo::net::Buffer& out, int address, int result, unsigned int id);
    static void buildUpdateScheduledTaskRetData(muduo::net::Buffer& out, int address, int result, unsigned int id);
    static void buildUpdateScheduledTaskExtRetData(muduo::net::Buffer& out, int address, int result,
                                                   unsigned int id);

    // Thresholds, delays, scheduled tasks and ping watchdogs. Only the ping
    // queries carry a result byte.
    static void buildQueryOutputThresholdRetData(muduo::net::Buffer& out, int address,
                                                 const _DeviceOutputThresholdSetting& setting);
    static void buildQueryInputThresholdRetData(muduo::net::Buffer& out, int address, unsigned char mask,
                                                const _DeviceInputThreshold& threshold);
    static void buildQueryTempHumiThresholdRetData(muduo::net::Buffer& out, int address,
                                                   const _DeviceTempHumiThreshold& threshold);
    static void buildQueryPortDelayRetData(muduo::net::Buffer& out, int address,
                                           const std::vector<_DevicePortDelay>& delays);
    static void buildQueryScheduledTaskRetData(muduo::net::Buffer& out, int address,
                                               const std::vector<_DeviceTask>& tasks);
    static void buildQueryScheduledTaskExtRetData(muduo::net::Buffer& out, int address,
                                                  const std::vector<_DeviceTask>& tasks);
    static void buildQueryPingRetData(muduo::net::Buffer& out, int address, int result, unsigned int mask,
                                      const std::vector<PingSetting>& settings);
    static void buildQueryPingExtRetData(muduo::net::Buffer& out, int address, int result, unsigned long long mask,
                                         const std::vector<PingSetting>& settings);
};
}
