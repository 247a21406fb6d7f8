#include "WatchdogModule.h"

#include "HardwareWatchdog.h"
#include "PduTimer.h"
#include "SoftwareWatchdog.h"

WatchdogModule::WatchdogModule(muduo::net::EventLoop* loop) : timer_(std::make_shared<PduTimer>(loop, 0))
{
    std::unique_ptr<Watchdog> hardware(new HardwareWatchdog);
    if (hardware->open())
    {
        watchdog_ = std::move(hardware);
    }
    else
    {
        hardware.reset();
        std::unique_ptr<Watchdog> software(new SoftwareWatchdog);
        if (software->open())
            watchdog_ = std::move(software);
    }
    if (watchdog_)
        timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>& timer) { onTimer(timer); });
}

WatchdogModule::~WatchdogModule()
{
    timer_->cancel();
    timer_.reset();
    watchdog_.reset();
}

void WatchdogModule::start()
{
    timer_->cancel();  // a second start must not leave two feeders
    timer_->runEvery(kFeedInterval);
}

void WatchdogModule::onTimer(const std::shared_ptr<PduTimer>&)
{
    if (watchdog_)
        watchdog_->feed();
}
