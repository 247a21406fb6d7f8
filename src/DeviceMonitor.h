#pragma once
#include <memory>

#include "AlarmCounter.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class BeeperModule;
class PduTimer;
class PowerModuleContainer;
class SharedMemory;
class SystemLog;
struct _Device;

// Turns limit violations of the live measurements into alarms, once a tick:
// outlet current against the warning range (10 ticks) and the cut-off limit
// (20 ticks, then the outlet is switched off), inlet voltage (10), inlet
// current above its upper limit (10), temperature and humidity (5). A raised
// alarm is logged, mailed and mirrored; a cleared one is only mirrored. The
// beeper sounds fast while an outlet is cut off, slow while any other alarm
// stands. Loop thread only.
class DeviceMonitor : muduo::noncopyable
{
public:
    static constexpr int kOutlets = 8;
    static constexpr int kWarnTicks = 10;
    static constexpr int kOverloadTicks = 20;
    static constexpr int kEnvironmentTicks = 5;

    enum BeepState
    {
        kSilent = 0,
        kSlow = 1,
        kFast = 2,
    };

    DeviceMonitor(muduo::net::EventLoop* loop, const std::shared_ptr<BeeperModule>& beeper,
                  const std::shared_ptr<PowerModuleContainer>& container);
    virtual ~DeviceMonitor();

    void start(double interval);
    void onTimer(const std::shared_ptr<PduTimer>& timer);

    int beepState() const { return beepState_; }

    // What to call when a value with a lower and an upper limit raises.
    struct RangeAlarm
    {
        bool (SystemLog::*upperLog)(bool);
        bool (SystemLog::*lowerLog)(bool);
        void (*upperMail)();
        void (*lowerMail)();
        bool (SharedMemory::*status)(int);
        const char* info;
    };

private:
    struct OutletRecord
    {
        AlarmCounter warn{kWarnTicks};
        AlarmCounter overload{kOverloadTicks};
    };
    struct Flags
    {
        bool fast = false;
        bool slow = false;
    };

    void checkOutlet(_Device& device, int n, Flags& flags);
    void checkOverload(_Device& device, int n, Flags& flags);
    void checkOutletWarning(_Device& device, int n, Flags& flags);
    void checkInputCurrent(const _Device& device, Flags& flags);
    void checkEnvironment(const _Device& device, Flags& flags);
    // Counts a reading against its warning range: the mirror status to report
    // (normal once back in range, under or over when the alarm is raised),
    // or none while it stands or is still being counted.
    int rangeStep(AlarmCounter& counter, double value, double lower, double upper, Flags& flags);
    // Shared by the inlet voltage, temperature and humidity.
    void checkRange(AlarmCounter& counter, double value, double lower, double upper, const RangeAlarm& alarm,
                    Flags& flags);
    void setBeeper(const Flags& flags);

    std::shared_ptr<PduTimer> timer_;
    std::shared_ptr<BeeperModule> beeper_;
    std::shared_ptr<PowerModuleContainer> container_;
    int beepState_ = kSilent;
    OutletRecord outlets_[kOutlets];
    AlarmCounter inputVoltage_{kWarnTicks};
    AlarmCounter inputCurrent_{kWarnTicks};
    AlarmCounter temperature_{kEnvironmentTicks};
    AlarmCounter humidity_{kEnvironmentTicks};
};
