#include "cascade/processor/CascadeCtrlSlaveProcessorFactory.h"

#include "GlobalData.h"
#include "PduServer.h"
#include "SerialPort.h"
#include "cascade/processor/CascadeCtrlAddScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlAddScheduledTaskExtParser.h"
#include "cascade/processor/CascadeCtrlClearEnergyParser.h"
#include "cascade/processor/CascadeCtrlDeleteScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlOperatePortParser.h"
#include "cascade/processor/CascadeCtrlOperatePortExtParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceInfoParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceInfoExtParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceStatusParser.h"
#include "cascade/processor/CascadeCtrlQueryDeviceStatusExtParser.h"
#include "cascade/processor/CascadeCtrlQueryEnergyParser.h"
#include "cascade/processor/CascadeCtrlQueryEnergyExtParser.h"
#include "cascade/processor/CascadeCtrlQueryInputThresholdParser.h"
#include "cascade/processor/CascadeCtrlQueryLogParser.h"
#include "cascade/processor/CascadeCtrlQueryNameParser.h"
#include "cascade/processor/CascadeCtrlQueryNameExtParser.h"
#include "cascade/processor/CascadeCtrlQueryNetworkParser.h"
#include "cascade/processor/CascadeCtrlQueryOutputThresholdParser.h"
#include "cascade/processor/CascadeCtrlQueryPingParser.h"
#include "cascade/processor/CascadeCtrlQueryPingExtParser.h"
#include "cascade/processor/CascadeCtrlQueryPortDelayParser.h"
#include "cascade/processor/CascadeCtrlQueryScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlQueryScheduledTaskExtParser.h"
#include "cascade/processor/CascadeCtrlQueryTempHumThresholdParser.h"
#include "cascade/processor/CascadeCtrlQueryTimeParser.h"
#include "cascade/processor/CascadeCtrlRebootParser.h"
#include "cascade/processor/CascadeCtrlSetInputThresholdParser.h"
#include "cascade/processor/CascadeCtrlSetNameParser.h"
#include "cascade/processor/CascadeCtrlSetNameExtParser.h"
#include "cascade/processor/CascadeCtrlSetNetworkParser.h"
#include "cascade/processor/CascadeCtrlSetNewAddrParser.h"
#include "cascade/processor/CascadeCtrlSetOutputThresholdParser.h"
#include "cascade/processor/CascadeCtrlSetOutputThresholdExtParser.h"
#include "cascade/processor/CascadeCtrlSetPingParser.h"
#include "cascade/processor/CascadeCtrlSetPingExtParser.h"
#include "cascade/processor/CascadeCtrlSetPortDelayParser.h"
#include "cascade/processor/CascadeCtrlSetPortDelayExtParser.h"
#include "cascade/processor/CascadeCtrlSetTempHumThresholdParser.h"
#include "cascade/processor/CascadeCtrlSetTimeParser.h"
#include "cascade/processor/CascadeCtrlTestPingParser.h"
#include "cascade/processor/CascadeCtrlTestPingStatusParser.h"
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskParser.h"
#include "cascade/processor/CascadeCtrlUpdateScheduledTaskExtParser.h"
#include "muduo/base/Logging.h"
#include "muduo/net/Buffer.h"

namespace CascadeCtrl
{
namespace
{
typedef std::shared_ptr<CascadeCtrlDataParser> ParserPtr;
typedef MgrCtrl::MgrCtrlModules Modules;
typedef ParserPtr (*MakeParser)(const Modules& modules);

// The modules a command's parser hands on to its processor; a command whose
// module is missing gets no parser.
template <class Parser>
ParserPtr plain(const Modules&)
{
    return std::make_shared<Parser>();
}
template <class Parser>
ParserPtr outlets(const Modules& modules)
{
    return modules.powerModules ? std::make_shared<Parser>(modules.powerModules) : nullptr;
}
template <class Parser>
ParserPtr tasks(const Modules& modules)
{
    return modules.scheduledTasks ? std::make_shared<Parser>(modules.scheduledTasks) : nullptr;
}
template <class Parser>
ParserPtr clock(const Modules& modules)
{
    return modules.scheduledTasks && modules.energyRecorder
               ? std::make_shared<Parser>(modules.scheduledTasks, modules.energyRecorder)
               : nullptr;
}
template <class Parser>
ParserPtr energy(const Modules& modules)
{
    return modules.energyDatabase ? std::make_shared<Parser>(*modules.energyDatabase) : nullptr;
}
template <class Parser>
ParserPtr pings(const Modules& modules)
{
    return modules.pingTasks ? std::make_shared<Parser>(modules.pingTasks) : nullptr;
}

typedef CascadeCtrlCommand C;
const struct
{
    int code;
    MakeParser make;
} kParsers[] = {
    {C::kQueryDeviceInfo, plain<CascadeCtrlQueryDeviceInfoParser>},
    {C::kOperatePort, outlets<CascadeCtrlOperatePortParser>},
    {C::kQueryName, plain<CascadeCtrlQueryNameParser>},
    {C::kSetName, plain<CascadeCtrlSetNameParser>},
    {C::kQueryNetwork, plain<CascadeCtrlQueryNetworkParser>},
    {C::kSetNetwork, plain<CascadeCtrlSetNetworkParser>},
    {C::kQueryDeviceStatus, plain<CascadeCtrlQueryDeviceStatusParser>},
    {C::kQueryOutputThreshold, plain<CascadeCtrlQueryOutputThresholdParser>},
    {C::kSetOutputThreshold, plain<CascadeCtrlSetOutputThresholdParser>},
    {C::kQueryInputThreshold, plain<CascadeCtrlQueryInputThresholdParser>},
    {C::kSetInputThreshold, plain<CascadeCtrlSetInputThresholdParser>},
    {C::kQueryTempHumThreshold, plain<CascadeCtrlQueryTempHumThresholdParser>},
    {C::kSetTempHumThreshold, plain<CascadeCtrlSetTempHumThresholdParser>},
    {C::kQueryPortDelay, plain<CascadeCtrlQueryPortDelayParser>},
    {C::kSetPortDelay, plain<CascadeCtrlSetPortDelayParser>},
    {C::kQueryScheduledTask, plain<CascadeCtrlQueryScheduledTaskParser>},
    {C::kAddScheduledTask, tasks<CascadeCtrlAddScheduledTaskParser>},
    {C::kUpdateScheduledTask, tasks<CascadeCtrlUpdateScheduledTaskParser>},
    {C::kDeleteScheduledTask, tasks<CascadeCtrlDeleteScheduledTaskParser>},
    {C::kQueryTime, plain<CascadeCtrlQueryTimeParser>},
    {C::kSetTime, clock<CascadeCtrlSetTimeParser>},
    {C::kClearEnergy, energy<CascadeCtrlClearEnergyParser>},
    {C::kReboot, plain<CascadeCtrlRebootParser>},
    {C::kQueryLog, plain<CascadeCtrlQueryLogParser>},
    {C::kQueryEnergy, energy<CascadeCtrlQueryEnergyParser>},
    {C::kSetNewAddr, plain<CascadeCtrlSetNewAddrParser>},
    {C::kSetPing, pings<CascadeCtrlSetPingParser>},
    {C::kTestPing, pings<CascadeCtrlTestPingParser>},
    {C::kTestPingStatus, plain<CascadeCtrlTestPingStatusParser>},
    {C::kQueryPing, plain<CascadeCtrlQueryPingParser>},
    {C::kQueryDeviceInfoExt, plain<CascadeCtrlQueryDeviceInfoExtParser>},
    {C::kOperatePortExt, outlets<CascadeCtrlOperatePortExtParser>},
    {C::kQueryNameExt, plain<CascadeCtrlQueryNameExtParser>},
    {C::kSetNameExt, plain<CascadeCtrlSetNameExtParser>},
    {C::kQueryDeviceStatusExt, plain<CascadeCtrlQueryDeviceStatusExtParser>},
    {C::kSetOutputThresholdExt, plain<CascadeCtrlSetOutputThresholdExtParser>},
    {C::kSetPortDelayExt, plain<CascadeCtrlSetPortDelayExtParser>},
    {C::kQueryScheduledTaskExt, plain<CascadeCtrlQueryScheduledTaskExtParser>},
    {C::kAddScheduledTaskExt, tasks<CascadeCtrlAddScheduledTaskExtParser>},
    {C::kUpdateScheduledTaskExt, tasks<CascadeCtrlUpdateScheduledTaskExtParser>},
    {C::kQueryEnergyExt, energy<CascadeCtrlQueryEnergyExtParser>},
    {C::kSetPingExt, pings<CascadeCtrlSetPingExtParser>},
    {C::kQueryPingExt, plain<CascadeCtrlQueryPingExtParser>},
};
}

CascadeCtrlSlaveProcessorFactory::CascadeCtrlSlaveProcessorFactory(muduo::net::EventLoop* loop, PduServer* server)
    : CascadeCtrlSlaveProcessorFactory(loop, server->getCascadeSerialPort(), MgrCtrl::modulesOf(*server))
{
}

CascadeCtrlSlaveProcessorFactory::CascadeCtrlSlaveProcessorFactory(muduo::net::EventLoop* loop,
                                                                   const std::shared_ptr<SerialPort>& line,
                                                                   const MgrCtrl::MgrCtrlModules& modules)
    : CascadeCtrlProcessorFactory(loop, line)
{
    for (const auto& row : kParsers)
        if (ParserPtr parser = row.make(modules))
            parsers_.add(row.code, parser);
}

CascadeCtrlSlaveProcessorFactory::~CascadeCtrlSlaveProcessorFactory() = default;

void CascadeCtrlSlaveProcessorFactory::start()
{
    setAddress(GlobalData::getDevice().address);
    LOG_INFO << "addr:" << address();
}

void CascadeCtrlSlaveProcessorFactory::process(std::shared_ptr<CascadeCtrlProcessor>& processor, int sequence)
{
    muduo::net::Buffer out;
    processor->process(out, sequence);
    if (serialPort())
        serialPort()->fileHandler()->write(out.peek(), static_cast<int>(out.readableBytes()));
}
}
