#pragma once
#include <functional>
#include <vector>

#include "menu/Menu.h"

namespace menu
{
// The first page: the unit's name, its rated input current and the states
// of outlets 1 to 8. A sequence of eight presses of keys 3 and 5 opens the
// calibration pages.
class InfoMenu final : public Menu
{
public:
    static const unsigned short kHotKeySequence[8];
    static constexpr double kHotKeyGap = 1.0;

    InfoMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
             const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
             const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_ next) override;
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onTimer(int id) override;
    void onDeviceStatusChanged(int module, unsigned int onOffBits, unsigned int statusBits) override;
    void updateView() override;

private:
    void drawMain(int language);
    void drawPortStatus(unsigned int mask);
    // A press of key 3 or 5: true when it completed the sequence.
    bool hotKeyStep(unsigned short key);

    unsigned int portStatus_;
    std::function<void()> drawMainFun_[2];
    int hotKeyTimerId_;
    std::vector<unsigned short> hotKeys_;
};
}
