#pragma once
#include <functional>

#include "menu/CalibrationMenu.h"

namespace menu
{
// Calibration of the inlet ("Input", port 255) here, or of the outlets on
// the output calibration page ("Output").
class CaliSelMenu final : public CalibrationMenu
{
public:
    CaliSelMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                const std::shared_ptr<CalibrationModule>& calibration, const std::shared_ptr<LcdModule>& lcd,
                const std::shared_ptr<BeeperModule>& beeper, const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    MenuId_ onKey(unsigned short key, unsigned short state) override;

private:
    void drawCaliSel(int language);
    void drawRowLabel(int language, int row, bool selected);

    std::function<void()> drawCaliSelFun_[2];
    std::function<void()> enterRowFun_[2][2];
    std::function<void()> leaveRowFun_[2][2];
    int curRow_;
};
}
