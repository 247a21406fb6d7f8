#pragma once
// The request of every cascade command as one struct: its fields, and
// write(WireWriter&) / read(WireReader&) for the bytes after the code byte.
// The same struct serves every side, so the layouts live here only:
// - the web and manage-control parsers fill it in a relay's `request`
//   (CascadeCtrl::CascadeCtrl<Command>Relay), whose payload writer
//   (CascadeCtrlPacketBuilder::build<Command>Data) puts the code byte before
//   write();
// - the slave's request parsers skip the code byte and call read(); a false
//   read means the payload was short and the request goes unanswered.
// Templates over the mask type give the Ext twins (uint32_t / uint64_t).
// Masks that announce records (names, limits, delays, watchdogs, network
// interfaces) are derived from the records on write, so they always match;
// read() keeps the mask it found in receivedMask for the answer's echo.
#include "cascade/parser/CascadeCtrlDeleteScheduledTaskRequest.h"
#include "cascade/parser/CascadeCtrlEmptyRequest.h"
#include "cascade/parser/CascadeCtrlOperatePortRequest.h"
#include "cascade/parser/CascadeCtrlOutletMaskRequest.h"
#include "cascade/parser/CascadeCtrlPairSelectionRequest.h"
#include "cascade/parser/CascadeCtrlQueryDeviceStatusRequest.h"
#include "cascade/parser/CascadeCtrlQueryEnergyRequest.h"
#include "cascade/parser/CascadeCtrlQueryLogRequest.h"
#include "cascade/parser/CascadeCtrlQueryScheduledTaskRequest.h"
#include "cascade/parser/CascadeCtrlSetInputThresholdRequest.h"
#include "cascade/parser/CascadeCtrlSetNameRequest.h"
#include "cascade/parser/CascadeCtrlSetNetworkRequest.h"
#include "cascade/parser/CascadeCtrlSetNewAddrRequest.h"
#include "cascade/parser/CascadeCtrlSetOutputThresholdRequest.h"
#include "cascade/parser/CascadeCtrlSetPingRequest.h"
#include "cascade/parser/CascadeCtrlSetPortDelayRequest.h"
#include "cascade/parser/CascadeCtrlSetTempHumThresholdRequest.h"
#include "cascade/parser/CascadeCtrlSetTimeRequest.h"
#include "cascade/parser/CascadeCtrlTaskRequest.h"
#include "cascade/parser/CascadeCtrlTestPingRequest.h"
#include "cascade/parser/CascadeCtrlTestPingStatusRequest.h"
