#include "menu/AddressMenu.h"

#include "GlobalData.h"
#include "LcdModule.h"
#include "Utility.h"

namespace menu
{
namespace
{
const char* const kLabels[2][4] = {
    {"IP  :", "\xD7\xD3\xCD\xF8:", "MAC:", "\xB5\xD8\xD6\xB7:"},
    {"IP  :", "Sub :", "MAC:", "Addr:"},
};
}

AddressMenu::AddressMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                         const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                         const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor)
{
    drawAddressFun_[0] = [this](int) { drawAddress(0); };
    drawAddressFun_[1] = [this](int) { drawAddress(1); };
}

void AddressMenu::drawAddress(int language)
{
    lcd_->flush();
    Utility::NetworkQeuryResult network;
    Utility::getNetworkParam(&network);
    Utility::NetworkQeuryEntry& eth0 = network.entries[0];
    for (int r = 0; r < 4; ++r)
        drawText(0, 16 * r, kLabels[language][r], false);
    if (eth0.valid)
    {
        drawIpFun_[fontSize_](34, 0, eth0.ip, true, false);
        drawIpFun_[fontSize_](34, 16, eth0.netmask, true, false);
        drawMacFun_[fontSize_](24, 32, eth0.mac, ':', false);
    }
    const _Device& device = GlobalData::getDevice();
    int x = 97 + drawAsciiCharFun_[fontSize_](97, 48, device.isMaster ? 'M' : 'S', false);
    x += drawAsciiCharFun_[fontSize_](x, 48, ' ', false);
    drawNumberFun_[fontSize_](x, 48, static_cast<unsigned short>(device.address), 3, '0', false);
    lcd_->refresh();
}

MenuId_ AddressMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    checkRestoreDefaultAndReboot(key, state);
    return ringStep(key, state);
}
}
