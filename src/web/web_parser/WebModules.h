#pragma once
#include <memory>

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

// Hands a parser the server's modules that its processors need. Without a
// server (tests, fuzzing) every module stays empty and the processors that
// need one refuse to work.
class WebModules
{
public:
    static void take(PduServer*, WebNoModule&) {}
    static void take(PduServer* server, std::shared_ptr<ScheduledTaskContainer>& tasks);
    static void take(PduServer* server, std::shared_ptr<PingTaskContainer>& pings);
    static void take(PduServer* server, std::shared_ptr<PowerModuleContainer>& outlets);
    static void take(PduServer* server, std::shared_ptr<NtpTask>& ntp);
    static void take(PduServer* server, EnergyDatabase*& database);
    static void take(PduServer* server, WebClockModules& modules);

    // The answer of a processor whose module is missing: -1, logged.
    static int missing(const char* command);
};
}
