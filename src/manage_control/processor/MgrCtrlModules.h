#pragma once
#include <memory>

class EnergyDatabase;
class EnergyRecorder;
class PduServer;
class PingTaskContainer;
class PowerModuleContainer;
class ScheduledTaskContainer;

namespace MgrCtrl
{
// The server's modules that command parsers hand to their processors. A
// command whose module is missing gets no parser: its requests are dropped.
struct MgrCtrlModules
{
    std::shared_ptr<PowerModuleContainer> powerModules;
    std::shared_ptr<ScheduledTaskContainer> scheduledTasks;
    std::shared_ptr<PingTaskContainer> pingTasks;
    std::shared_ptr<EnergyRecorder> energyRecorder;
    EnergyDatabase* energyDatabase = nullptr;  // the server's member, by reference
};

// Every module of the server.
MgrCtrlModules modulesOf(PduServer& server);
}
