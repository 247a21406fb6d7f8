#pragma once
#include <cstdint>

#include "cascade/parser/CascadeCtrlAnswers.h"
#include "cascade/parser/CascadeCtrlCommand.h"

namespace CascadeCtrl
{
// The request and the answer struct of every command code, in one table:
// CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetPing>::Answer.
template <class R, class A>
struct CascadeCtrlTypes
{
    typedef R Request;
    typedef A Answer;
};

template <int kCode>
struct CascadeCtrlCommandTypes;

// clang-format off
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryDeviceInfo> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlDeviceInfoAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kOperatePort> : CascadeCtrlTypes<CascadeCtrlOperatePortRequest<uint32_t>, CascadeCtrlOperatePortAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryName> : CascadeCtrlTypes<CascadeCtrlOutletMaskRequest<uint32_t>, CascadeCtrlNamesAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetName> : CascadeCtrlTypes<CascadeCtrlSetNameRequest<uint32_t>, CascadeCtrlNamesAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryNetwork> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlNetworkAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetNetwork> : CascadeCtrlTypes<CascadeCtrlSetNetworkRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryDeviceStatus> : CascadeCtrlTypes<CascadeCtrlQueryDeviceStatusRequest<uint32_t>, CascadeCtrlDeviceStatusAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryOutputThreshold> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlOutputThresholdListData> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetOutputThreshold> : CascadeCtrlTypes<CascadeCtrlSetOutputThresholdRequest<uint32_t>, CascadeCtrlMaskAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryInputThreshold> : CascadeCtrlTypes<CascadeCtrlPairSelectionRequest, CascadeCtrlInputThresholdData> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetInputThreshold> : CascadeCtrlTypes<CascadeCtrlSetInputThresholdRequest, CascadeCtrlInputThresholdAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryTempHumThreshold> : CascadeCtrlTypes<CascadeCtrlPairSelectionRequest, CascadeCtrlSetTempHumThresholdRequest> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetTempHumThreshold> : CascadeCtrlTypes<CascadeCtrlSetTempHumThresholdRequest, CascadeCtrlPairMaskAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryPortDelay> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlPortDelayListData> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetPortDelay> : CascadeCtrlTypes<CascadeCtrlSetPortDelayRequest<uint32_t>, CascadeCtrlMaskAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryScheduledTask> : CascadeCtrlTypes<CascadeCtrlQueryScheduledTaskRequest, CascadeCtrlTaskListData<uint32_t, true>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kAddScheduledTask> : CascadeCtrlTypes<CascadeCtrlAddScheduledTaskRequest<uint32_t>, CascadeCtrlTaskIdAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kUpdateScheduledTask> : CascadeCtrlTypes<CascadeCtrlUpdateScheduledTaskRequest<uint32_t>, CascadeCtrlTaskIdAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kDeleteScheduledTask> : CascadeCtrlTypes<CascadeCtrlDeleteScheduledTaskRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryTime> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlTimeAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetTime> : CascadeCtrlTypes<CascadeCtrlSetTimeRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kClearEnergy> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kReboot> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryLog> : CascadeCtrlTypes<CascadeCtrlQueryLogRequest, CascadeCtrlLogListData> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryEnergy> : CascadeCtrlTypes<CascadeCtrlQueryEnergyRequest<uint32_t>, CascadeCtrlEnergyData<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetNewAddr> : CascadeCtrlTypes<CascadeCtrlSetNewAddrRequest, CascadeCtrlResultAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetPing> : CascadeCtrlTypes<CascadeCtrlSetPingRequest<uint32_t>, CascadeCtrlMaskAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kTestPing> : CascadeCtrlTypes<CascadeCtrlTestPingRequest, CascadeCtrlPortAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kTestPingStatus> : CascadeCtrlTypes<CascadeCtrlTestPingStatusRequest, CascadeCtrlPortAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryPing> : CascadeCtrlTypes<CascadeCtrlOutletMaskRequest<uint32_t>, CascadeCtrlPingListAnswer<uint32_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryDeviceInfoExt> : CascadeCtrlTypes<CascadeCtrlEmptyRequest, CascadeCtrlDeviceInfoAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kOperatePortExt> : CascadeCtrlTypes<CascadeCtrlOperatePortRequest<uint64_t>, CascadeCtrlOperatePortAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryNameExt> : CascadeCtrlTypes<CascadeCtrlOutletMaskRequest<uint64_t>, CascadeCtrlNamesAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetNameExt> : CascadeCtrlTypes<CascadeCtrlSetNameRequest<uint64_t>, CascadeCtrlNamesAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryDeviceStatusExt> : CascadeCtrlTypes<CascadeCtrlQueryDeviceStatusRequest<uint64_t>, CascadeCtrlDeviceStatusAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetOutputThresholdExt> : CascadeCtrlTypes<CascadeCtrlSetOutputThresholdRequest<uint64_t>, CascadeCtrlMaskAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetPortDelayExt> : CascadeCtrlTypes<CascadeCtrlSetPortDelayRequest<uint64_t>, CascadeCtrlMaskAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryScheduledTaskExt> : CascadeCtrlTypes<CascadeCtrlQueryScheduledTaskRequest, CascadeCtrlTaskListData<uint64_t, false>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kAddScheduledTaskExt> : CascadeCtrlTypes<CascadeCtrlAddScheduledTaskRequest<uint64_t>, CascadeCtrlTaskIdAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kUpdateScheduledTaskExt> : CascadeCtrlTypes<CascadeCtrlUpdateScheduledTaskRequest<uint64_t>, CascadeCtrlTaskIdAnswer> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryEnergyExt> : CascadeCtrlTypes<CascadeCtrlQueryEnergyRequest<uint64_t>, CascadeCtrlEnergyData<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kSetPingExt> : CascadeCtrlTypes<CascadeCtrlSetPingRequest<uint64_t>, CascadeCtrlMaskAnswer<uint64_t>> {};
template <> struct CascadeCtrlCommandTypes<CascadeCtrlCommand::kQueryPingExt> : CascadeCtrlTypes<CascadeCtrlOutletMaskRequest<uint64_t>, CascadeCtrlPingListAnswer<uint64_t>> {};
// clang-format on
}
