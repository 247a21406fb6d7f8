#include "manage_control/processor/MgrCtrlCommandTable.h"

#include <functional>

#include "manage_control/parser/GetDeviceListParser.h"
#include "manage_control/parser/MgrCtrlCommandCode.h"
#include "manage_control/parser/OperatePortExtParser.h"
#include "manage_control/parser/OperatePortParser.h"
#include "manage_control/parser/QueryDeviceStatusExtParser.h"
#include "manage_control/parser/QueryDeviceStatusParser.h"
#include "manage_control/parser/QueryNameExtParser.h"
#include "manage_control/parser/QueryNameParser.h"
#include "manage_control/parser/QueryOutputThresholdParser.h"
#include "manage_control/parser/QueryTempHumThresholdParser.h"
#include "manage_control/parser/SetInputThresholdParser.h"
#include "manage_control/parser/SetNameExtParser.h"
#include "manage_control/parser/SetNameParser.h"

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
    {kQueryNetwork, nullptr},
    {kSetNetwork, nullptr},
    {kOperatePort, &make<OperatePortParser, &MgrCtrlModules::powerModules>},
    {kQueryDeviceStatus, &make<QueryDeviceStatusParser>},
    {kQueryOutputThreshold, &make<QueryOutputThresholdParser>},
    {kSetOutputThreshold, nullptr},
    {kQueryInputThreshold, nullptr},
    {kSetInputThreshold, &make<SetInputThresholdParser>},
    {kQueryTempHumThreshold, &make<QueryTempHumThresholdParser>},
    {kSetTempHumThreshold, nullptr},
    {kQueryPortDelay, nullptr},
    {kSetPortDelay, nullptr},
    {kQueryScheduledTask, nullptr},
    {kAddScheduledTask, nullptr},      // scheduledTasks
    {kUpdateScheduledTask, nullptr},   // scheduledTasks
    {kDeleteScheduledTask, nullptr},   // scheduledTasks
    {kSetAddress, nullptr},
    {kQueryTime, nullptr},
    {kSetTime, nullptr},               // scheduledTasks, energyRecorder
    {kClearEnergy, nullptr},           // energyDatabase
    {kReboot, nullptr},
    {kQuerySystemLog, nullptr},
    {kQueryEnergy, nullptr},           // energyDatabase
    {kSetPing, nullptr},               // pingTasks
    {kTestPing, nullptr},              // pingTasks
    {kTestPingStatus, nullptr},
    {kQueryName, &make<QueryNameParser>},
    {kQueryPing, nullptr},
    {kSetNameExt, &make<SetNameExtParser>},
    {kOperatePortExt, &make<OperatePortExtParser, &MgrCtrlModules::powerModules>},
    {kQueryDeviceStatusExt, &make<QueryDeviceStatusExtParser>},
    {kSetOutputThresholdExt, nullptr},
    {kSetPortDelayExt, nullptr},
    {kQueryScheduledTaskExt, nullptr},
    {kAddScheduledTaskExt, nullptr},   // scheduledTasks
    {kUpdateScheduledTaskExt, nullptr},  // scheduledTasks
    {kQueryEnergyExt, nullptr},        // energyDatabase
    {kSetPingExt, nullptr},            // pingTasks
    {kQueryNameExt, &make<QueryNameExtParser>},
    {kQueryPingExt, nullptr},
};
}

MgrCtrlCommandTable::Entries MgrCtrlCommandTable::entries()
{
    return Entries{kEntries, sizeof kEntries / sizeof kEntries[0]};
}
}
