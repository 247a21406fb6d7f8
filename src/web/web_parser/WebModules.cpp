#include "web/web_parser/WebModules.h"

#include "PduServer.h"
#include "muduo/base/Logging.h"

namespace web
{
WebModules::WebModules(PduServer* server)
{
    if (server)
        *this = WebModules(server->getPowerModuleContainer(), server->getScheduledTaskContainer(),
                           server->getPingTaskContainer(), server->getNtpTask(), &server->getEnergyDatabase(),
                           server->getEnergyRecorder());
}

WebModules::WebModules(const std::shared_ptr<PowerModuleContainer>& outlets,
                       const std::shared_ptr<ScheduledTaskContainer>& tasks,
                       const std::shared_ptr<PingTaskContainer>& pings, const std::shared_ptr<NtpTask>& ntp,
                       EnergyDatabase* energy, const std::shared_ptr<EnergyRecorder>& recorder)
    : modules_{WebNoModule(), outlets, tasks, pings, ntp, energy, WebClockModules{tasks, recorder}}
{
}

int WebModules::missing(const char* command)
{
    LOG_WARN << command << " refused: the unit's module is missing";
    return -1;
}
}
