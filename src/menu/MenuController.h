#pragma once
#include <memory>
#include <unordered_map>
#include <vector>

#include "DeviceTypes.h"
#include "menu/MenuId.h"
#include "muduo/base/noncopyable.h"

class LcdModule;
class PduServer;
class PduTimer;

namespace muduo
{
namespace net
{
class EventLoop;
}
}

namespace menu
{
class Menu;

// The front-panel menu: builds the LCD driver and the pages, shows one page
// at a time, times the backlight out, and passes keys and device events to
// the page on screen. Loop thread only.
class MenuController : muduo::noncopyable
{
public:
    MenuController(muduo::net::EventLoop* loop, Language language, LcdDirection direction, int backlightMinutes,
                   const PduServer* server);
    ~MenuController();

    void setPageRing(const std::vector<MenuId_>& ring) { pageRing_ = ring; }
    MenuId_ getToFirstPage();
    MenuId_ getToNextPage();
    MenuId_ getToPrevPage();
    std::shared_ptr<Menu> switchMenu(MenuId_ id);
    void setAutoOff(int minutes);

    void onKey(unsigned short code, unsigned short state);
    void onDeviceInputDataReceived(const _DeviceInputStatus* status);
    void onDeviceOutputDataReceived(int outlet, const _DeviceOutputStatus* status);
    void onDeviceEnviromentReceived(const _EnvironmentalStatus* status);
    void onDeviceDataTimeout(int module);
    void onDevicePortOnOff(int port, unsigned char relayAction, unsigned char result);
    void onDeviceStatusChanged(int module, unsigned int onOffBits, unsigned int statusBits);
    void onCaliParamRequested(int module, unsigned short caliVoltage, unsigned short caliCurrent,
                              unsigned short caliPower, unsigned char result);
    void onCaliPramTransferred(int module, unsigned char result);
    void onCalibrated(int port, unsigned char result);

    const std::shared_ptr<Menu>& currentMenu() const { return currentMenu_; }
    const std::shared_ptr<LcdModule>& lcd() const { return lcd_; }

private:
    // Restarts the idle time of the backlight (nothing for "never").
    void rearmAutoOff();

    muduo::net::EventLoop* loop_;
    std::unordered_map<int, std::shared_ptr<Menu>> menus_;
    std::shared_ptr<Menu> currentMenu_;
    std::vector<MenuId_> pageRing_;
    int pageIndex_;
    std::shared_ptr<LcdModule> lcd_;
    std::shared_ptr<PduTimer> autoOffTimer_;
    Language language_;
};
}
