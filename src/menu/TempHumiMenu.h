#pragma once
#include <functional>

#include "menu/Menu.h"

namespace menu
{
// The sensor's temperature and humidity, or dashes while it has no valid
// reading; rewritten when a reading differs from the last one drawn.
class TempHumiMenu final : public Menu
{
public:
    TempHumiMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                 const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                 const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onDeviceEnvironmentReceived(const _EnvironmentalStatus* status) override;
    void updateView() override;

private:
    void drawTempHumi(int language, bool valid, double temperature, double humidity);
    // Sign, value and unit of both rows, over what stood there.
    void drawValues(bool valid, double temperature, double humidity);

    std::function<void(bool, double, double)> drawTempHumiFun_[2];
    _EnvironmentalStatus last_;
};
}
