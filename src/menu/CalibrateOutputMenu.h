#pragma once
#include <functional>

#include "menu/CalibrationMenu.h"

namespace menu
{
// Calibration of one outlet at a time: the outlets four to a screen, each
// marked calibrated or not; OK calibrates the selected one. Only outlets
// the power module switches (0 to 7) can be calibrated.
class CalibrateOutputMenu final : public CalibrationMenu
{
public:
    CalibrateOutputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                        const std::shared_ptr<CalibrationModule>& calibration, const std::shared_ptr<LcdModule>& lcd,
                        const std::shared_ptr<BeeperModule>& beeper, const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onCalibration(int port, int result) override;

private:
    static bool calibrated(int port);
    void drawCalibrate(int language);
    void drawRowLabel(int language, int row, bool selected);
    void drawMark(int port);
    // Moves the selection to (screen, row) and shows it.
    void select(int screen, int row);
    void startSelected();

    std::function<void()> drawCalibrateFun_[2];
    std::function<void()> enterRowFun_[2][4];
    std::function<void()> leaveRowFun_[2][4];
    MenuId_ previousMenu_;
    int screenIndex_;
    int curRow_;
    int calibratingPort_;
};
}
