#include "manage_control/processor/MgrCtrlCommandTable.h"

#include <functional>

#include "manage_control/parser/AddScheduledTaskExtParser.h"
#include "manage_control/parser/AddScheduledTaskParser.h"
#include "manage_control/parser/ClearEnergyParser.h"
#include "manage_control/parser/DeleteScheduledTaskParser.h"
#include "manage_control/parser/GetDeviceListParser.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/OperatePortExtParser.h"
#include "manage_control/parser/OperatePortParser.h"
#include "manage_control/parser/QueryDeviceStatusExtParser.h"
#include "manage_control/parser/QueryDeviceStatusParser.h"
#include "manage_control/parser/QueryEnergyExtParser.h"
#include "manage_control/parser/QueryEnergyParser.h"
#include "manage_control/parser/QueryInputThresholdParser.h"
#include "manage_control/parser/QueryNameExtParser.h"
#include "manage_control/parser/QueryNameParser.h"
#include "manage_control/parser/QueryNetworkParser.h"
#include "manage_control/parser/QueryOutputThresholdParser.h"
#include "manage_control/parser/QueryPingExtParser.h"
#include "manage_control/parser/QueryPingParser.h"
#include "manage_control/parser/QueryPortDelayParser.h"
#include "manage_control/parser/QueryScheduledTaskExtParser.h"
#include "manage_control/parser/QueryScheduledTaskParser.h"
#include "manage_control/parser/QuerySystemLogParser.h"
#include "manage_control/parser/QueryTempHumThresholdParser.h"
#include "manage_control/parser/QueryTimeParser.h"
#include "manage_control/parser/RebootParser.h"
#include "manage_control/parser/SetAddressParser.h"
#include "manage_control/parser/SetInputThresholdParser.h"
#include "manage_control/parser/SetNameExtParser.h"
#include "manage_control/parser/SetNameParser.h"
#include "manage_control/parser/SetNetworkParser.h"
#include "manage_control/parser/SetOutputThresholdExtParser.h"
#include "manage_control/parser/SetOutputThresholdParser.h"
#include "manage_control/parser/SetPingExtParser.h"
#include "manage_control/parser/SetPingParser.h"
#include "manage_control/parser/SetPortDelayExtParser.h"
#include "manage_control/parser/SetPortDelayParser.h"
#include "manage_control/parser/SetTempHumThresholdParser.h"
#include "manage_control/parser/SetTimeParser.h"
#include "manage_control/parser/TestPingParser.h"
#include "manage_control/parser/TestPingStatusParser.h"
#include "manage_control/parser/UpdateScheduledTaskExtParser.h"
#include "manage_control/parser/UpdateScheduledTaskParser.h"

namespace MgrCtrl
{
namespace
{
// Shared modules go to the parser as they are; one held by reference (a
// raw pointer here) goes wrapped, so no processor ever copies it.
template <class T>
const std::shared_ptr<T>& pass(const std::shared_ptr<T>& module)
{
    return module;
}
template <class T>
std::reference_wrapper<T> pass(T* module)
{
    return std::ref(*module);
}

// The parser with the modules named, or none when one is missing.
template <class Parser, auto... Modules>
std::shared_ptr<MgrCtrlDataParser> make(const MgrCtrlModules& modules)
{
    if ((... || !(modules.*Modules)))
        return nullptr;
    return std::make_shared<Parser>(pass(modules.*Modules)...);
}

const MgrCtrlCommandTable::Entry kEntries[] = {
    {kGetDeviceList, &make<GetDeviceListParser>},
    {kSetName, &make<SetNameParser>},
    {kQueryNetwork, &make<QueryNetworkParser>},
    {kSetNetwork, &make<SetNetworkParser>},
    {kOperatePort, &make<OperatePortParser, &MgrCtrlModules::powerModules>},
    {kQueryDeviceStatus, &make<QueryDeviceStatusParser>},
    {kQueryOutputThreshold, &make<QueryOutputThresholdParser>},
    {kSetOutputThreshold, &make<SetOutputThresholdParser>},
    {kQueryInputThreshold, &make<QueryInputThresholdParser>},
    {kSetInputThreshold, &make<SetInputThresholdParser>},
    {kQueryTempHumThreshold, &make<QueryTempHumThresholdParser>},
    {kSetTempHumThreshold, &make<SetTempHumThresholdParser>},
    {kQueryPortDelay, &make<QueryPortDelayParser>},
    {kSetPortDelay, &make<SetPortDelayParser>},
    {kQueryScheduledTask, &make<QueryScheduledTaskParser>},
    {kAddScheduledTask, &make<AddScheduledTaskParser, &MgrCtrlModules::scheduledTasks>},
    {kUpdateScheduledTask, &make<UpdateScheduledTaskParser, &MgrCtrlModules::scheduledTasks>},
    {kDeleteScheduledTask, &make<DeleteScheduledTaskParser, &MgrCtrlModules::scheduledTasks>},
    {kSetAddress, &make<SetAddressParser>},
    {kQueryTime, &make<QueryTimeParser>},
    {kSetTime, &make<SetTimeParser, &MgrCtrlModules::scheduledTasks, &MgrCtrlModules::energyRecorder>},
    {kClearEnergy, &make<ClearEnergyParser, &MgrCtrlModules::energyDatabase>},
    {kReboot, &make<RebootParser>},
    {kQuerySystemLog, &make<QuerySystemLogParser>},
    {kQueryEnergy, &make<QueryEnergyParser, &MgrCtrlModules::energyDatabase>},
    {kSetPing, &make<SetPingParser, &MgrCtrlModules::pingTasks>},
    {kTestPing, &make<TestPingParser, &MgrCtrlModules::pingTasks>},
    {kTestPingStatus, &make<TestPingStatusParser>},
    {kQueryName, &make<QueryNameParser>},
    {kQueryPing, &make<QueryPingParser>},
    {kSetNameExt, &make<SetNameExtParser>},
    {kOperatePortExt, &make<OperatePortExtParser, &MgrCtrlModules::powerModules>},
    {kQueryDeviceStatusExt, &make<QueryDeviceStatusExtParser>},
    {kSetOutputThresholdExt, &make<SetOutputThresholdExtParser>},
    {kSetPortDelayExt, &make<SetPortDelayExtParser>},
    {kQueryScheduledTaskExt, &make<QueryScheduledTaskExtParser>},
    {kAddScheduledTaskExt, &make<AddScheduledTaskExtParser, &MgrCtrlModules::scheduledTasks>},
    {kUpdateScheduledTaskExt, &make<UpdateScheduledTaskExtParser, &MgrCtrlModules::scheduledTasks>},
    {kQueryEnergyExt, &make<QueryEnergyExtParser, &MgrCtrlModules::energyDatabase>},
    {kSetPingExt, &make<SetPingExtParser, &MgrCtrlModules::pingTasks>},
    {kQueryNameExt, &make<QueryNameExtParser>},
    {kQueryPingExt, &make<QueryPingExtParser>},
};
}

MgrCtrlCommandTable::Entries MgrCtrlCommandTable::entries()
{
    return Entries{kEntries, sizeof kEntries / sizeof kEntries[0]};
}
}
