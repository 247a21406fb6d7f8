#pragma once
#include <memory>
#include <tuple>

class EnergyDatabase;
class EnergyRecorder;
class NtpTask;
class PduServer;
class PingTaskContainer;
class PowerModuleContainer;
class ScheduledTaskContainer;

namespace web
{
// What a command that needs no module holds.
struct WebNoModule
{
};

// Setting the clock re-arms the tasks and the energy recording.
struct WebClockModules
{
    std::shared_ptr<ScheduledTaskContainer> tasks;
    std::shared_ptr<EnergyRecorder> recorder;
};

// The server's modules that the parsers hand their processors, each parser
// taking the one of its processors' type. Without a server (tests,
// fuzzing) every module stays empty and the processors that need one
// refuse to work.
class WebModules
{
public:
    explicit WebModules(PduServer* server);
    // The modules one by one, for a board without a server (fuzzing); any
    // may be empty.
    WebModules(const std::shared_ptr<PowerModuleContainer>& outlets, const std::shared_ptr<ScheduledTaskContainer>& tasks,
               const std::shared_ptr<PingTaskContainer>& pings, const std::shared_ptr<NtpTask>& ntp,
               EnergyDatabase* energy, const std::shared_ptr<EnergyRecorder>& recorder);

    template <class Module>
    const Module& get() const
    {
        return std::get<Module>(modules_);
    }

    // The answer of a processor whose module is missing: -1, logged.
    static int missing(const char* command);

private:
    std::tuple<WebNoModule, std::shared_ptr<PowerModuleContainer>, std::shared_ptr<ScheduledTaskContainer>,
               std::shared_ptr<PingTaskContainer>, std::shared_ptr<NtpTask>, EnergyDatabase*, WebClockModules>
        modules_{};
};
}
