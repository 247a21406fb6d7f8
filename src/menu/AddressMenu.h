#pragma once
#include <functional>

#include "menu/Menu.h"

namespace menu
{
// Where the unit is reached: eth0's address, mask and MAC, and its role and
// address on the cascade chain. Drawn once each time it is shown.
class AddressMenu final : public Menu
{
public:
    AddressMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_) override { updateView(); }
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void updateView() override { drawAddressFun_[lang()](0); }

private:
    void drawAddress(int language);

    std::function<void(int)> drawAddressFun_[2];
};
}
