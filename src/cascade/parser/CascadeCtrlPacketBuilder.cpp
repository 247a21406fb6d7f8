#include "cascade/parser/CascadeCtrlPacketBuilder.h"

#include "cascade/parser/CascadeCtrlCommand.h"
#include "muduo/net/Buffer.h"
#include "netext/WireWriter.h"

namespace CascadeCtrl
{
namespace
{
template <typename Request>
void append(muduo::net::Buffer& payload, CascadeCtrlCommand::Code code, const Request& request)
{
    muduo::net::WireWriter w(payload);
    w.u8(code);
    request.write(w);
}
}

CascadeCtrlPacketBuilder::CascadeCtrlPacketBuilder() : crc_(CRC::CRC_8::parameters) {}

void CascadeCtrlPacketBuilder::buildPacket(Buffer& out, int address, int sequence, const Buffer& payload) const
{
    const size_t length = payload.readableBytes();
    const uint32_t n = static_cast<uint32_t>(length);
    out.retrieveAll();
    muduo::net::WireWriter w(out);
    w.u8(kStartByte)
        .u8(static_cast<uint8_t>(address))
        .be16(static_cast<uint16_t>(sequence))
        .u8(crc_.compute(payload.peek(), length))
        .be32(n)
        .be32(~n)
        .bytes(payload.peek(), length);
}

typedef CascadeCtrlPacketBuilder B;
typedef CascadeCtrlCommand C;

void B::buildGetDeviceInfoData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryDeviceInfo, r);
}

void B::buildOperatePortData(Buffer& p, const CascadeCtrlOperatePortRequest<uint32_t>& r)
{
    append(p, C::kOperatePort, r);
}

void B::buildQueryNameData(Buffer& p, const CascadeCtrlOutletMaskRequest<uint32_t>& r)
{
    append(p, C::kQueryName, r);
}

void B::buildSetNameData(Buffer& p, const CascadeCtrlSetNameRequest<uint32_t>& r)
{
    append(p, C::kSetName, r);
}

void B::buildQueryNetworkData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryNetwork, r);
}

void B::buildSetNetworkData(Buffer& p, const CascadeCtrlSetNetworkRequest& r)
{
    append(p, C::kSetNetwork, r);
}

void B::buildQueryDeviceStatusData(Buffer& p, const CascadeCtrlQueryDeviceStatusRequest<uint32_t>& r)
{
    append(p, C::kQueryDeviceStatus, r);
}

void B::buildQueryOutputThresholdData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryOutputThreshold, r);
}

void B::buildSetOutputThresholdData(Buffer& p, const CascadeCtrlSetOutputThresholdRequest<uint32_t>& r)
{
    append(p, C::kSetOutputThreshold, r);
}

void B::buildQueryInputThresholdData(Buffer& p, const CascadeCtrlPairSelectionRequest& r)
{
    append(p, C::kQueryInputThreshold, r);
}

void B::buildSetInputThresholdData(Buffer& p, const CascadeCtrlSetInputThresholdRequest& r)
{
    append(p, C::kSetInputThreshold, r);
}

void B::buildQueryTempHumiThresholdData(Buffer& p, const CascadeCtrlPairSelectionRequest& r)
{
    append(p, C::kQueryTempHumThreshold, r);
}

void B::buildSetTempHumiThresholdData(Buffer& p, const CascadeCtrlSetTempHumThresholdRequest& r)
{
    append(p, C::kSetTempHumThreshold, r);
}

void B::buildQueryPortDelayData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryPortDelay, r);
}

void B::buildSetPortDelayData(Buffer& p, const CascadeCtrlSetPortDelayRequest<uint32_t>& r)
{
    append(p, C::kSetPortDelay, r);
}

void B::buildQueryScheduledTaskData(Buffer& p, const CascadeCtrlQueryScheduledTaskRequest& r)
{
    append(p, C::kQueryScheduledTask, r);
}

void B::buildAddScheduledTaskData(Buffer& p, const CascadeCtrlAddScheduledTaskRequest<uint32_t>& r)
{
    append(p, C::kAddScheduledTask, r);
}

void B::buildUpdateScheduledTaskData(Buffer& p, const CascadeCtrlUpdateScheduledTaskRequest<uint32_t>& r)
{
    append(p, C::kUpdateScheduledTask, r);
}

void B::buildDeleteScheduledTaskData(Buffer& p, const CascadeCtrlDeleteScheduledTaskRequest& r)
{
    append(p, C::kDeleteScheduledTask, r);
}

void B::buildQueryTimeData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryTime, r);
}

void B::buildSetTimeData(Buffer& p, const CascadeCtrlSetTimeRequest& r)
{
    append(p, C::kSetTime, r);
}

void B::buildClearEnergyData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kClearEnergy, r);
}

void B::buildRebootData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kReboot, r);
}

void B::buildQueryLogData(Buffer& p, const CascadeCtrlQueryLogRequest& r)
{
    append(p, C::kQueryLog, r);
}

void B::buildQueryEnergyData(Buffer& p, const CascadeCtrlQueryEnergyRequest<uint32_t>& r)
{
    append(p, C::kQueryEnergy, r);
}

void B::buildSetNewAddrData(Buffer& p, const CascadeCtrlSetNewAddrRequest& r)
{
    append(p, C::kSetNewAddr, r);
}

void B::buildSetPingData(Buffer& p, const CascadeCtrlSetPingRequest<uint32_t>& r)
{
    append(p, C::kSetPing, r);
}

void B::buildTestPingData(Buffer& p, const CascadeCtrlTestPingRequest& r)
{
    append(p, C::kTestPing, r);
}

void B::buildTestPingStatusData(Buffer& p, const CascadeCtrlTestPingStatusRequest& r)
{
    append(p, C::kTestPingStatus, r);
}

void B::buildQueryPingData(Buffer& p, const CascadeCtrlOutletMaskRequest<uint32_t>& r)
{
    append(p, C::kQueryPing, r);
}

void B::buildGetDeviceInfoExtData(Buffer& p, const CascadeCtrlEmptyRequest& r)
{
    append(p, C::kQueryDeviceInfoExt, r);
}

void B::buildOperatePortExtData(Buffer& p, const CascadeCtrlOperatePortRequest<uint64_t>& r)
{
    append(p, C::kOperatePortExt, r);
}

void B::buildSetNameExtData(Buffer& p, const CascadeCtrlSetNameRequest<uint64_t>& r)
{
    append(p, C::kSetNameExt, r);
}

void B::buildQueryDeviceStatusExtData(Buffer& p, const CascadeCtrlQueryDeviceStatusRequest<uint64_t>& r)
{
    append(p, C::kQueryDeviceStatusExt, r);
}

void B::buildSetOutputThresholdExtData(Buffer& p, const CascadeCtrlSetOutputThresholdRequest<uint64_t>& r)
{
    append(p, C::kSetOutputThresholdExt, r);
}

void B::buildSetPortDelayExtData(Buffer& p, const CascadeCtrlSetPortDelayRequest<uint64_t>& r)
{
    append(p, C::kSetPortDelayExt, r);
}

void B::buildQueryScheduledTaskExtData(Buffer& p, const CascadeCtrlQueryScheduledTaskRequest& r)
{
    append(p, C::kQueryScheduledTaskExt, r);
}

void B::buildAddScheduledTaskExtData(Buffer& p, const CascadeCtrlAddScheduledTaskRequest<uint64_t>& r)
{
    append(p, C::kAddScheduledTaskExt, r);
}

void B::buildUpdateScheduledTaskExtData(Buffer& p, const CascadeCtrlUpdateScheduledTaskRequest<uint64_t>& r)
{
    append(p, C::kUpdateScheduledTaskExt, r);
}

void B::buildQueryEnergyExtData(Buffer& p, const CascadeCtrlQueryEnergyRequest<uint64_t>& r)
{
    append(p, C::kQueryEnergyExt, r);
}

void B::buildSetPingExtData(Buffer& p, const CascadeCtrlSetPingRequest<uint64_t>& r)
{
    append(p, C::kSetPingExt, r);
}

void B::buildQueryPingExtData(Buffer& p, const CascadeCtrlOutletMaskRequest<uint64_t>& r)
{
    append(p, C::kQueryPingExt, r);
}
}
