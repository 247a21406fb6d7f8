#pragma once
#include <functional>
#include <memory>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class PduTimer;
class PowerModuleContainer;

// Calibrates the metering of one outlet (or of the inlet, port 255) on the
// power module: polls stopped, the measured outlet on, a settling pause, the
// module's calibration, the outlet off again, polls restarted. Every step
// waits for the module's reply with a time-out. Loop thread only.
class CalibrationModule : muduo::noncopyable
{
public:
    enum State
    {
        kIdle = 0,
        kWaitOn = 1,
        kWaitStable = 2,
        kWaitCalibrated = 3,
        kWaitOff = 4,
    };
    enum Status
    {
        kCalibrated = 0,
        kNoOnAck = -1,
        kNoCalibrationResult = -2,
        kNoOffAck = -3,
    };
    static const int kInletPort = 255;
    static const double kSwitchTimeout;
    static const double kSettleSeconds;
    static const double kCalibrateTimeout;

    typedef std::function<void(int port, int status)> FinishedCallback;

    CalibrationModule(muduo::net::EventLoop* loop, const std::shared_ptr<PowerModuleContainer>& container);
    ~CalibrationModule();

    void setFinishedCallback(FinishedCallback cb) { finishedCallback_ = std::move(cb); }

    void startCalibration(int port);
    void onOutputOnOff(int port, unsigned char action, unsigned char result);
    void onCalibrationResponse(int port, unsigned char result);
    void onTimeout();

    int state() const { return state_; }

private:
    void finish(int status, int port);

    std::shared_ptr<PowerModuleContainer> container_;
    std::shared_ptr<PduTimer> timer_;
    int state_;
    FinishedCallback finishedCallback_;
    int calibrationPort_;
    int switchedOutlet_;
};
