#include "CalibrationModule.h"

#include "PduTimer.h"
#include "PowerModuleContainer.h"
#include "muduo/base/Logging.h"

const double CalibrationModule::kSwitchTimeout = 2.0;
const double CalibrationModule::kSettleSeconds = 2.0;
const double CalibrationModule::kCalibrateTimeout = 4.0;

namespace
{
const double kStatusPollSeconds = 0.5;
const double kMeterPollSeconds = 0.1;
const unsigned char kActionOff = 0;
const unsigned char kActionOn = 1;
}

CalibrationModule::CalibrationModule(muduo::net::EventLoop* loop,
                                     const std::shared_ptr<PowerModuleContainer>& container)
    : container_(container),
      timer_(std::make_shared<PduTimer>(loop, 0)),
      state_(kIdle),
      calibrationPort_(-1),
      switchedOutlet_(-1)
{
    timer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { onTimeout(); });
}

CalibrationModule::~CalibrationModule() { timer_->cancel(); }

void CalibrationModule::startCalibration(int port)
{
    // A calibration under way is overwritten; its armed time-out is kept and,
    // if earlier, ends the new one's first wait.
    state_ = kWaitOn;
    container_->stopQueryAllOutputsStatus();
    container_->stopQueryAllPortsMeterData();
    if (port == kInletPort)
    {
        // The inlet is measured through outlet 0 alone.
        for (int p = 1; p < PowerModuleContainer::kPortCount; ++p)
            container_->turnOffPort(p, false);
        container_->turnOnPort(0, false);
        calibrationPort_ = kInletPort;
        switchedOutlet_ = 0;
    }
    else
    {
        container_->turnOnPort(port, false);
        calibrationPort_ = port;
        switchedOutlet_ = port;
    }
    timer_->runAfter(kSwitchTimeout);
    LOG_INFO << "start calibration";
}

void CalibrationModule::onOutputOnOff(int port, unsigned char action, unsigned char result)
{
    if (port != switchedOutlet_ || result != 0)
        return;
    if (state_ == kWaitOn && action == kActionOn)
    {
        timer_->cancel();
        timer_->runAfter(kSettleSeconds);
        state_ = kWaitStable;
        LOG_INFO << "wait for stability";
    }
    else if (state_ == kWaitOff && action == kActionOff)
    {
        timer_->cancel();
        LOG_INFO << "calibration ok, restore to normal operation";
        finish(kCalibrated, calibrationPort_);
    }
}

void CalibrationModule::onCalibrationResponse(int port, unsigned char result)
{
    LOG_INFO << "calibration response:" << " port:" << port << " result:" << static_cast<int>(result);
    if (state_ != kWaitCalibrated || port != calibrationPort_ || result != 0)
        return;
    timer_->cancel();
    container_->turnOffPort(switchedOutlet_, false);
    timer_->runAfter(kSwitchTimeout);
    state_ = kWaitOff;
    LOG_INFO << "wait for off done";
}

void CalibrationModule::onTimeout()
{
    switch (state_)
    {
    case kWaitOn:
        LOG_INFO << "wait on timeout, restore to mormal operation";
        finish(kNoOnAck, switchedOutlet_);
        break;
    case kWaitStable:
        LOG_INFO << "wait for stability ok";
        LOG_INFO << "cali port:" << calibrationPort_;
        if (!container_->startCalibrate(calibrationPort_))
            LOG_INFO << "start calibrate failed";
        timer_->runAfter(kCalibrateTimeout);
        state_ = kWaitCalibrated;
        break;
    case kWaitCalibrated:
        container_->turnOffPort(switchedOutlet_, false);
        LOG_INFO << "wait calibration done timeout, restore to mormal operation";
        finish(kNoCalibrationResult, switchedOutlet_);
        break;
    case kWaitOff:
        LOG_INFO << "wait off timeout, restore to mormal operation";
        finish(kNoOffAck, switchedOutlet_);
        break;
    default:
        break;
    }
}

void CalibrationModule::finish(int status, int port)
{
    state_ = kIdle;
    container_->startQueryAllOutputsStatus(kStatusPollSeconds);
    container_->startQueryAllPortsMeterData(kMeterPollSeconds);
    // Cleared first: the callback may start the next calibration.
    calibrationPort_ = -1;
    switchedOutlet_ = -1;
    if (finishedCallback_)
        finishedCallback_(port, status);
}
