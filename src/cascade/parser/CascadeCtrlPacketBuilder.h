#pragma once
#include <cstdint>

#include "cascade/parser/CRC_8.h"
#include "cascade/parser/CascadeCtrlRequests.h"

namespace muduo
{
namespace net
{
class Buffer;
}
}

namespace CascadeCtrl
{
// Writes cascade frames: 0xA5, address, 16-bit sequence, CRC-8 of the
// payload, the payload length and its complement (32 bits each, big-endian),
// the payload. Copyable; the CRC table never changes after construction.
//
// The payload writers append one request payload, code byte first, to the
// buffer's write end; the fields are the request struct's (see
// CascadeCtrlRequests.h). QueryNameExt (33) has none: nothing sends it.
class CascadeCtrlPacketBuilder
{
public:
    static const unsigned char kStartByte = 0xA5;
    static const int kHeaderLength = 13;
    typedef muduo::net::Buffer Buffer;

    CascadeCtrlPacketBuilder();

    // Empties out and writes one frame around the payload's readable bytes
    // (read, not consumed); address and sequence keep their low 8 and 16 bits.
    void buildPacket(Buffer& out, int address, int sequence, const Buffer& payload) const;

    static void buildGetDeviceInfoData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildOperatePortData(Buffer& payload, const CascadeCtrlOperatePortRequest<uint32_t>& r);
    static void buildQueryNameData(Buffer& payload, const CascadeCtrlOutletMaskRequest<uint32_t>& r);
    static void buildSetNameData(Buffer& payload, const CascadeCtrlSetNameRequest<uint32_t>& r);
    static void buildQueryNetworkData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildSetNetworkData(Buffer& payload, const CascadeCtrlSetNetworkRequest& r);
    static void buildQueryDeviceStatusData(Buffer& payload, const CascadeCtrlQueryDeviceStatusRequest<uint32_t>& r);
    static void buildQueryOutputThresholdData(Buffer& payload,
                                              const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildSetOutputThresholdData(Buffer& payload, const CascadeCtrlSetOutputThresholdRequest<uint32_t>& r);
    static void buildQueryInputThresholdData(Buffer& payload, const CascadeCtrlPairSelectionRequest& r);
    static void buildSetInputThresholdData(Buffer& payload, const CascadeCtrlSetInputThresholdRequest& r);
    static void buildQueryTempHumiThresholdData(Buffer& payload, const CascadeCtrlPairSelectionRequest& r);
    static void buildSetTempHumiThresholdData(Buffer& payload, const CascadeCtrlSetTempHumThresholdRequest& r);
    static void buildQueryPortDelayData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildSetPortDelayData(Buffer& payload, const CascadeCtrlSetPortDelayRequest<uint32_t>& r);
    static void buildQueryScheduledTaskData(Buffer& payload, const CascadeCtrlQueryScheduledTaskRequest& r);
    static void buildAddScheduledTaskData(Buffer& payload, const CascadeCtrlAddScheduledTaskRequest<uint32_t>& r);
    static void buildUpdateScheduledTaskData(Buffer& payload, const CascadeCtrlUpdateScheduledTaskRequest<uint32_t>& r);
    static void buildDeleteScheduledTaskData(Buffer& payload, const CascadeCtrlDeleteScheduledTaskRequest& r);
    static void buildQueryTimeData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildSetTimeData(Buffer& payload, const CascadeCtrlSetTimeRequest& r);
    static void buildClearEnergyData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildRebootData(Buffer& payload, const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildQueryLogData(Buffer& payload, const CascadeCtrlQueryLogRequest& r);
    static void buildQueryEnergyData(Buffer& payload, const CascadeCtrlQueryEnergyRequest<uint32_t>& r);
    static void buildSetNewAddrData(Buffer& payload, const CascadeCtrlSetNewAddrRequest& r);
    static void buildSetPingData(Buffer& payload, const CascadeCtrlSetPingRequest<uint32_t>& r);
    static void buildTestPingData(Buffer& payload, const CascadeCtrlTestPingRequest& r);
    static void buildTestPingStatusData(Buffer& payload, const CascadeCtrlTestPingStatusRequest& r);
    static void buildQueryPingData(Buffer& payload, const CascadeCtrlOutletMaskRequest<uint32_t>& r);
    static void buildGetDeviceInfoExtData(Buffer& payload,
                                          const CascadeCtrlEmptyRequest& r = CascadeCtrlEmptyRequest());
    static void buildOperatePortExtData(Buffer& payload, const CascadeCtrlOperatePortRequest<uint64_t>& r);
    static void buildSetNameExtData(Buffer& payload, const CascadeCtrlSetNameRequest<uint64_t>& r);
    static void buildQueryDeviceStatusExtData(Buffer& payload, const CascadeCtrlQueryDeviceStatusRequest<uint64_t>& r);
    static void buildSetOutputThresholdExtData(Buffer& payload,
                                               const CascadeCtrlSetOutputThresholdRequest<uint64_t>& r);
    static void buildSetPortDelayExtData(Buffer& payload, const CascadeCtrlSetPortDelayRequest<uint64_t>& r);
    static void buildQueryScheduledTaskExtData(Buffer& payload, const CascadeCtrlQueryScheduledTaskRequest& r);
    static void buildAddScheduledTaskExtData(Buffer& payload, const CascadeCtrlAddScheduledTaskRequest<uint64_t>& r);
    static void buildUpdateScheduledTaskExtData(Buffer& payload,
                                                const CascadeCtrlUpdateScheduledTaskRequest<uint64_t>& r);
    static void buildQueryEnergyExtData(Buffer& payload, const CascadeCtrlQueryEnergyRequest<uint64_t>& r);
    static void buildSetPingExtData(Buffer& payload, const CascadeCtrlSetPingRequest<uint64_t>& r);
    static void buildQueryPingExtData(Buffer& payload, const CascadeCtrlOutletMaskRequest<uint64_t>& r);

private:
    CRC::CRC_8 crc_;
};
}
