#pragma once
#include <functional>
#include <vector>

#include "menu/Menu.h"

namespace menu
{
// The outlets four to a screen: number, on/off mark and current. Keys 3
// and 5 step through the screens.
class OutputMenu final : public Menu
{
public:
    OutputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
               const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
               const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onDeviceOutputDataReceived(int port, const _DeviceOutputStatus* status) override;
    void onDeviceStatusChanged(int module, unsigned int onOffBits, unsigned int statusBits) override;
    void updateView() override;

    int screenIndex() const { return screenIndex_; }

private:
    // Outlets shown: the unit's count, within the live status's slots.
    static int outletCount();
    static bool isOn(unsigned int mask, int port) { return port >= 0 && port < 32 && ((mask >> port) & 1u); }
    void drawOutput(int language);
    void drawCurrent(int port, double current, bool on);

    int screenIndex_;
    unsigned int portStatus_;
    std::vector<double> currents_;
    std::function<void()> drawOutputFun_[2];
};
}
