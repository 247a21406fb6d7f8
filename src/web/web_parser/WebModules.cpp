#include "web/web_parser/WebModules.h"

#include "PduServer.h"
#include "muduo/base/Logging.h"

namespace web
{
WebModules::WebModules(PduServer* server)
{
    if (!server)
        return;
    auto& [none, outlets, tasks, pings, ntp, energy, clock] = modules_;
    outlets = server->getPowerModuleContainer();
    tasks = server->getScheduledTaskContainer();
    pings = server->getPingTaskContainer();
    ntp = server->getNtpTask();
    energy = &server->getEnergyDatabase();
    clock = {tasks, server->getEnergyRecorder()};
}

int WebModules::missing(const char* command)
{
    LOG_WARN << command << " refused: the unit's module is missing";
    return -1;
}
}
