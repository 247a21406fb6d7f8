#include "manage_control/processor/MgrCtrlModules.h"

#include "PduServer.h"

namespace MgrCtrl
{
MgrCtrlModules modulesOf(PduServer& server)
{
    MgrCtrlModules modules;
    modules.powerModules = server.getPowerModuleContainer();
    modules.scheduledTasks = server.getScheduledTaskContainer();
    modules.pingTasks = server.getPingTaskContainer();
    modules.energyRecorder = server.getEnergyRecorder();
    modules.energyDatabase = &server.getEnergyDatabase();
    return modules;
}
}
