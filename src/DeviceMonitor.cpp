#include "DeviceMonitor.h"

#include "BeeperModule.h"
#include "Email.h"
#include "GlobalData.h"
#include "PduTimer.h"
#include "PowerModuleContainer.h"
#include "SharedMemory.h"
#include "SystemLog.h"
#include "Utility.h"
#include "muduo/base/Logging.h"

namespace
{
// Mirror statuses of an alarm.
const int kNormal = 0;
const int kUnder = 1;
const int kOver = 2;
const int kCutOff = 4;
// Neither back in range nor newly raised: nothing to report.
const int kStill = -1;

const DeviceMonitor::RangeAlarm kVoltageAlarm = {
    &SystemLog::addInputVoltageUpperLimitLog, &SystemLog::addInputVoltageLowerLimitLog,
    &Email::sendInputVoltageUpperLimitEmail,  &Email::sendInputVoltageLowerLimitEmail,
    &SharedMemory::setDeviceVoltageStatus,    "input voltage warn"};
const DeviceMonitor::RangeAlarm kTempAlarm = {&SystemLog::addTempUpperLimitLog, &SystemLog::addTempLowerLimitLog,
                                              &Email::sendTempUpperLimitEmail,  &Email::sendTempLowerLimitEmail,
                                              &SharedMemory::setDeviceTempStatus, "temp warn"};
const DeviceMonitor::RangeAlarm kHumiAlarm = {&SystemLog::addHumiUpperLimitLog, &SystemLog::addHumiLowerLimitLog,
                                              &Email::sendHumiUpperLimitEmail,  &Email::sendHumiLowerLimitEmail,
                                              &SharedMemory::setDeviceHumStatus, "humi warn"};

bool outsideRange(double value, double lower, double upper)
{
    return Utility::isLessThanDoubleValue(value, lower) || Utility::isGreaterThanDoubleValue(value, upper);
}
}

DeviceMonitor::DeviceMonitor(muduo::net::EventLoop* loop, const std::shared_ptr<BeeperModule>& beeper,
                             const std::shared_ptr<PowerModuleContainer>& container)
    : timer_(std::make_shared<PduTimer>(loop, 0)), beeper_(beeper), container_(container)
{
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>& timer) { onTimer(timer); });
}

DeviceMonitor::~DeviceMonitor() { timer_->cancel(); }

void DeviceMonitor::start(double interval) { timer_->runEvery(interval); }

void DeviceMonitor::onTimer(const std::shared_ptr<PduTimer>&)
{
    _Device& device = GlobalData::getDevice();
    Flags flags;
    // The tables hold eight outlets; slotCount() keeps the loop inside them.
    for (int n = 0; n < device.slotCount() && n < kOutlets; ++n)
        if (n != device.status.calibratingPort)
            checkOutlet(device, n, flags);

    const _DeviceInputThreshold& input = device.inputThreshold;
    checkRange(inputVoltage_, device.status.input.voltage, input.warnLowerVoltage, input.warnUpperVoltage,
               kVoltageAlarm, flags);
    checkInputCurrent(device, flags);
    checkEnvironment(device, flags);
    setBeeper(flags);
}

void DeviceMonitor::checkOutlet(_Device& device, int n, Flags& flags)
{
    _DeviceOutputStatus& output = device.status.outputs[n];
    if (output.overloaded)
        flags.fast = true;
    if (!((device.status.onOffMask & 0xFFFFFFFFu) >> n & 1))
    {
        outlets_[n].warn.reset();
        outlets_[n].overload.reset();
        output.overloaded = 0;
        SharedMemory::instance().setOutletCurrentStatus(n, kNormal);
        return;
    }
    checkOverload(device, n, flags);
    checkOutletWarning(device, n, flags);
}

void DeviceMonitor::checkOverload(_Device& device, int n, Flags& flags)
{
    _DeviceOutputStatus& output = device.status.outputs[n];
    const _DeviceOutputThreshold& limits = device.outputThresholds[n];
    AlarmCounter& counter = outlets_[n].overload;
    if (!Utility::isGreaterThanDoubleValue(output.current, limits.offUpperCurrent))
    {
        counter.reset();
        output.overloaded = 0;
        return;
    }
    if (counter.outside() != AlarmCounter::kRaised)
        return;
    output.overloaded = 1;
    container_->turnOffPort(n, true);
    SystemLog::instance()->addOutputCurrentOverloadLog(n, false);
    Email::sendOutputCurrentOverloadEmail(n);
    SharedMemory::instance().setOutletCurrentStatus(n, kCutOff);
    LOG_INFO << "current outrange threshold, overload:" << output.current;
    LOG_INFO << "port:" << n << ",warnlowcurrent:" << limits.warnLowerCurrent
             << ",warnuppercurrent:" << limits.warnUpperCurrent << ",offlowcurrent:" << limits.offLowerCurrent
             << ",offuppercurrent:" << limits.offUpperCurrent;
    flags.fast = true;
}

void DeviceMonitor::checkOutletWarning(_Device& device, int n, Flags& flags)
{
    const double current = device.status.outputs[n].current;
    const _DeviceOutputThreshold& limits = device.outputThresholds[n];
    const int status = rangeStep(outlets_[n].warn, current, limits.warnLowerCurrent, limits.warnUpperCurrent, flags);
    if (status == kNormal)
        SharedMemory::instance().setOutletCurrentStatus(n, kNormal);
    if (status == kNormal || status == kStill)
        return;
    if (status == kOver)
    {
        SystemLog::instance()->addOutputCurrentUpperLimitLog(n, false);
        Email::sendOutputCurrentUpperLimitEmail(n);
        SharedMemory::instance().setOutletCurrentStatus(n, kOver);
    }
    else
    {
        SystemLog::instance()->addOutputCurrentLowerLimitLog(n, false);
        Email::sendOutputCurrentLowerLimitEmail(n);
        SharedMemory::instance().setOutletCurrentStatus(n, kUnder);
    }
    LOG_INFO << "output:" << n << ",current warn";
}

int DeviceMonitor::rangeStep(AlarmCounter& counter, double value, double lower, double upper, Flags& flags)
{
    if (!outsideRange(value, lower, upper))
    {
        counter.reset();
        return kNormal;
    }
    AlarmCounter::Step step = counter.outside();
    if (step == AlarmCounter::kCounting)
        return kStill;
    flags.slow = true;
    if (step != AlarmCounter::kRaised)
        return kStill;
    return Utility::isGreaterThanDoubleValue(value, upper) ? kOver : kUnder;
}

void DeviceMonitor::checkRange(AlarmCounter& counter, double value, double lower, double upper,
                               const RangeAlarm& alarm, Flags& flags)
{
    SharedMemory& mirror = SharedMemory::instance();
    const int status = rangeStep(counter, value, lower, upper, flags);
    if (status == kNormal)
        (mirror.*alarm.status)(kNormal);
    if (status == kNormal || status == kStill)
        return;
    const bool over = status == kOver;
    (SystemLog::instance()->*(over ? alarm.upperLog : alarm.lowerLog))(false);
    (over ? alarm.upperMail : alarm.lowerMail)();
    (mirror.*alarm.status)(over ? kOver : kUnder);
    LOG_INFO << alarm.info;
}

void DeviceMonitor::checkInputCurrent(const _Device& device, Flags& flags)
{
    if (!Utility::isGreaterThanDoubleValue(device.status.input.current, device.inputThreshold.warnUpperCurrent))
    {
        inputCurrent_.reset();
        SharedMemory::instance().setDeviceCurrentStatus(kNormal);
        return;
    }
    AlarmCounter::Step step = inputCurrent_.outside();
    if (step != AlarmCounter::kStanding)
        LOG_INFO << "input current warn";
    if (step == AlarmCounter::kCounting)
        return;
    flags.slow = true;
    if (step != AlarmCounter::kRaised)
        return;
    SystemLog::instance()->addInputCurrentUpperLimitLog(false);
    Email::sendInputCurrentUpperLimitEmail();
    SharedMemory::instance().setDeviceCurrentStatus(kOver);
}

void DeviceMonitor::checkEnvironment(const _Device& device, Flags& flags)
{
    const _EnvironmentalStatus& env = device.status.environment;
    if (!env.valid)
    {
        temperature_.reset();
        humidity_.reset();
        SharedMemory::instance().setDeviceTempStatus(kNormal);
        SharedMemory::instance().setDeviceHumStatus(kNormal);
        return;
    }
    const _DeviceTempHumiThreshold& limits = device.tempHumiThreshold;
    checkRange(temperature_, env.temperature, limits.warnLowerTemp, limits.warnUpperTemp, kTempAlarm, flags);
    checkRange(humidity_, env.humidity, limits.warnLowerHumi, limits.warnUpperHumi, kHumiAlarm, flags);
}

void DeviceMonitor::setBeeper(const Flags& flags)
{
    if (flags.fast)
    {
        if (beepState_ != kFast)
        {
            beeper_->beepForever(50, 50);
            beepState_ = kFast;
        }
    }
    else if (flags.slow)
    {
        if (beepState_ != kSlow)
        {
            beeper_->beepForever(200, 200);
            beepState_ = kSlow;
        }
    }
    else if (beepState_ != kSilent)
    {
        beeper_->stop();
        beepState_ = kSilent;
        LOG_INFO << "stop beeper";
    }
}
