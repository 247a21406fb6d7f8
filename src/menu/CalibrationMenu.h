#pragma once
#include <functional>

#include "menu/Menu.h"

class CalibrationModule;

namespace menu
{
// What the inlet and the outlet calibration pages share: the calibration
// module they drive, the forwarding of the module's replies to it while a
// calibration page is on screen, the wait and result pop-ups and their
// states (idle, calibrating, result shown).
class CalibrationMenu : public Menu
{
public:
    CalibrationMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                    const std::shared_ptr<CalibrationModule>& calibration, const std::shared_ptr<LcdModule>& lcd,
                    const std::shared_ptr<BeeperModule>& beeper, const std::shared_ptr<DeviceMonitor>& monitor);

    void onDestroy(MenuId_) override {}
    void onTimer(int) override {}
    void onDevicePortOnOff(int port, unsigned char relayAction, unsigned char result) override;
    void onCalibrated(int port, unsigned char result) override;
    void updateView() override {}

    // The calibration module's end-of-calibration callback.
    virtual void onCalibration(int port, int result);

    enum State
    {
        kIdle = 0,
        kCalibrating = 1,
        kResultShown = 2,
    };
    int state() const { return state_; }

protected:

    // Wait pop-up, then the calibration of port (255 the inlet).
    void startCalibration(int port);
    // Key 2 on a result: the pop-up goes.
    void closeResult();
    // A row label at (x, y), selected (inverted and framed) or plain.
    void drawRow(int x, int y, const std::function<unsigned short(bool)>& label, bool selected);

    std::shared_ptr<CalibrationModule> calibrationModule_;
    std::function<void()> waitTipFun_[2];
    std::function<void()> turnOnTimeoutTipFun_[2];
    std::function<void()> calibrationTimeoutTipFun_[2];
    std::function<void()> turnOffTimeoutTipFun_[2];
    std::function<void()> calibrationOKTipFun_[2];
    int state_;

private:
    void drawTip(int tip, int language);
};
}
