#pragma once
#include <functional>

#include "menu/Menu.h"

namespace menu
{
// The inlet's voltage, current, power and energy, rewritten at every inlet
// reading.
class InputMenu final : public Menu
{
public:
    InputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
              const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
              const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onDeviceInputDataReceived(const _DeviceInputStatus* status) override;
    void onDeviceDataTimeoutEvent(int) override;
    void updateView() override;

private:
    void drawInput(int language);
    void drawValues(const _DeviceInputStatus& status, int rows);

    std::function<void()> drawInputFun_[2];
};
}
