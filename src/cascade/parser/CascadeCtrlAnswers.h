#pragma once
// The answer of every cascade command, as one struct with write(WireWriter&)
// and read(WireReader&) for the bytes after the code byte, like the request
// structs (CascadeCtrlRequests.h). A slave's processor fills one and writes
// it behind the code byte; the master's answer parser skips the code byte
// and reads it back. CascadeCtrlCommandTypes<code>::Answer names the answer
// of each code.
//
// Most answers are a status byte (CascadeCtrlStatusAnswer) and, after a 0,
// the command's data. Where the data have the layout of a request (a mask,
// a port, a mask byte, a date, a name list, the temperature and humidity
// limits) the request struct serves as the data. Nine queries carry no
// status byte: the limit, delay, task, log and energy lists.
#include "cascade/parser/CascadeCtrlDeviceInfoData.h"
#include "cascade/parser/CascadeCtrlDeviceStatusData.h"
#include "cascade/parser/CascadeCtrlEnergyData.h"
#include "cascade/parser/CascadeCtrlInputThresholdData.h"
#include "cascade/parser/CascadeCtrlLogListData.h"
#include "cascade/parser/CascadeCtrlNetworkListData.h"
#include "cascade/parser/CascadeCtrlOutputThresholdListData.h"
#include "cascade/parser/CascadeCtrlPingListData.h"
#include "cascade/parser/CascadeCtrlPortDelayListData.h"
#include "cascade/parser/CascadeCtrlRequests.h"
#include "cascade/parser/CascadeCtrlStatusAnswer.h"
#include "cascade/parser/CascadeCtrlTaskIdData.h"
#include "cascade/parser/CascadeCtrlTaskListData.h"

namespace CascadeCtrl
{
// Status only: SetNetwork, DeleteScheduledTask, SetTime, ClearEnergy,
// Reboot, SetNewAddr.
typedef CascadeCtrlStatusAnswer<CascadeCtrlEmptyRequest> CascadeCtrlResultAnswer;
// Status, then the outlet mask: SetOutputThreshold (as cut to the unit's
// outlets), SetPortDelay and SetPing (as received), and their Ext twins.
template <typename M>
using CascadeCtrlMaskAnswer = CascadeCtrlStatusAnswer<CascadeCtrlOutletMaskRequest<M>>;
// OperatePort(Ext): status and the mask of the unit's outlets, always.
template <typename M>
using CascadeCtrlOperatePortAnswer = CascadeCtrlStatusAnswer<CascadeCtrlOutletMaskRequest<M>, true>;
// TestPing, TestPingStatus: status and the port, always.
typedef CascadeCtrlStatusAnswer<CascadeCtrlTestPingStatusRequest, true> CascadeCtrlPortAnswer;
// SetTempHumThreshold: status, then the mask byte as received.
typedef CascadeCtrlStatusAnswer<CascadeCtrlPairSelectionRequest> CascadeCtrlPairMaskAnswer;
// QueryTime: status, then year - 2000, month, day, hour, minute, second.
typedef CascadeCtrlStatusAnswer<CascadeCtrlSetTimeRequest> CascadeCtrlTimeAnswer;
// Add/UpdateScheduledTask(Ext): status, then the task's id.
typedef CascadeCtrlStatusAnswer<CascadeCtrlTaskIdData> CascadeCtrlTaskIdAnswer;
// SetInputThreshold: status, then the warning pairs just stored.
typedef CascadeCtrlStatusAnswer<CascadeCtrlInputThresholdData> CascadeCtrlInputThresholdAnswer;
typedef CascadeCtrlStatusAnswer<CascadeCtrlNetworkListData> CascadeCtrlNetworkAnswer;
template <typename M>
using CascadeCtrlDeviceInfoAnswer = CascadeCtrlStatusAnswer<CascadeCtrlDeviceInfoData<M>>;
template <typename M>
using CascadeCtrlDeviceStatusAnswer = CascadeCtrlStatusAnswer<CascadeCtrlDeviceStatusData<M>>;
// QueryName, SetName and their Ext twins: status, then the name list.
template <typename M>
using CascadeCtrlNamesAnswer = CascadeCtrlStatusAnswer<CascadeCtrlSetNameRequest<M>>;
template <typename M>
using CascadeCtrlPingListAnswer = CascadeCtrlStatusAnswer<CascadeCtrlPingListData<M>>;
}
