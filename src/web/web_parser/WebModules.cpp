#include "web/web_parser/WebModules.h"

#include "PduServer.h"
#include "muduo/base/Logging.h"

namespace web
{
void WebModules::take(PduServer* server, std::shared_ptr<ScheduledTaskContainer>& tasks)
{
    if (server)
        tasks = server->getScheduledTaskContainer();
}

void WebModules::take(PduServer* server, std::shared_ptr<PingTaskContainer>& pings)
{
    if (server)
        pings = server->getPingTaskContainer();
}

void WebModules::take(PduServer* server, std::shared_ptr<PowerModuleContainer>& outlets)
{
    if (server)
        outlets = server->getPowerModuleContainer();
}

void WebModules::take(PduServer* server, std::shared_ptr<NtpTask>& ntp)
{
    if (server)
        ntp = server->getNtpTask();
}

void WebModules::take(PduServer* server, EnergyDatabase*& database)
{
    database = server ? &server->getEnergyDatabase() : nullptr;
}

void WebModules::take(PduServer* server, WebClockModules& modules)
{
    take(server, modules.tasks);
    if (server)
        modules.recorder = server->getEnergyRecorder();
}

int WebModules::missing(const char* command)
{
    LOG_WARN << command << " refused: the unit's module is missing";
    return -1;
}
}
