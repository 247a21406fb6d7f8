#include "menu/MenuController.h"

#include "LcdModule.h"
#include "PduServer.h"
#include "PduTimer.h"
#include "ST7567LcdModule.h"
#include "menu/AddressMenu.h"
#include "menu/CaliParamMenu.h"
#include "menu/CaliSelMenu.h"
#include "menu/CalibrateOutputMenu.h"
#include "menu/InfoMenu.h"
#include "menu/InputMenu.h"
#include "menu/OutputMenu.h"
#include "menu/SetMenu.h"
#include "menu/TempHumiMenu.h"
#include "platform/core/BoardClock.h"

namespace menu
{
MenuController::MenuController(muduo::net::EventLoop* loop, Language language, LcdDirection direction,
                               int backlightMinutes, const PduServer* server)
    : loop_(loop), menus_(10), pageIndex_(0), language_(language)
{
    lcd_ = std::make_shared<ST7567LcdModule>();
    autoOffTimer_ = std::make_shared<PduTimer>(loop_, 0);
    autoOffTimer_->setTimerCallback([this](const std::shared_ptr<PduTimer>&) { lcd_->turnOnBacklight(false); });
    lcd_->turnOnBacklight(true);
    lcd_->setDir(direction);
    setAutoOff(backlightMinutes);

    const auto& beeper = server->getBeeperModule();
    const auto& monitor = server->getDeviceMonitor();
    const std::vector<std::shared_ptr<Menu>> pages = {
        std::make_shared<InfoMenu>(loop_, kInfoMenu, language_, this, lcd_, beeper, monitor),
        std::make_shared<InputMenu>(loop_, kInputMenu, language_, this, lcd_, beeper, monitor),
        std::make_shared<OutputMenu>(loop_, kOutputMenu, language_, this, lcd_, beeper, monitor),
        std::make_shared<TempHumiMenu>(loop_, kTempHumiMenu, language_, this, lcd_, beeper, monitor),
        std::make_shared<AddressMenu>(loop_, kAddressMenu, language_, this, lcd_, beeper, monitor),
        std::make_shared<CaliParamMenu>(loop_, kCaliParamMenu, language_, this, server->getPowerModuleContainer(),
                                        lcd_, beeper, monitor),
        std::make_shared<CalibrateOutputMenu>(loop_, kCalibrateOutputMenu, language_, this,
                                              server->getCalibrationModule(), lcd_, beeper, monitor),
        std::make_shared<CaliSelMenu>(loop_, kCaliSelMenu, language_, this, server->getCalibrationModule(), lcd_,
                                      beeper, monitor),
        std::make_shared<SetMenu>(loop_, kSetMenu, language_, this, lcd_, beeper, monitor),
    };
    for (const auto& page : pages)
        menus_.emplace(page->id(), page);
}

MenuController::~MenuController() { autoOffTimer_->cancel(); }

MenuId_ MenuController::getToFirstPage()
{
    pageIndex_ = 0;
    return pageRing_.empty() ? kInfoMenu : pageRing_[0];
}

MenuId_ MenuController::getToNextPage()
{
    if (pageRing_.empty())
        return kInfoMenu;
    pageIndex_ = pageIndex_ + 1 >= static_cast<int>(pageRing_.size()) ? 0 : pageIndex_ + 1;
    return pageRing_[static_cast<size_t>(pageIndex_)];
}

MenuId_ MenuController::getToPrevPage()
{
    if (pageRing_.empty())
        return kInfoMenu;
    pageIndex_ = pageIndex_ - 1 < 0 ? static_cast<int>(pageRing_.size()) - 1 : pageIndex_ - 1;
    return pageRing_[static_cast<size_t>(pageIndex_)];
}

std::shared_ptr<Menu> MenuController::switchMenu(MenuId_ id)
{
    auto next = menus_.find(id);
    if (next == menus_.end())
        return currentMenu_;  // no such page: stay
    std::shared_ptr<Menu> previous = currentMenu_;
    MenuId_ previousId = kNoMenu;
    if (previous)
    {
        previousId = previous->id();
        if (previousId != id)
            previous->onDestroy(id);
    }
    currentMenu_ = next->second;
    currentMenu_->onCreate(previousId);
    return previous;
}

void MenuController::setAutoOff(int minutes)
{
    lcd_->turnOnBacklight(true);
    autoOffTimer_->cancel();
    lcd_->setAutoOff(minutes);
    rearmAutoOff();
}

void MenuController::rearmAutoOff()
{
    const double seconds = static_cast<double>(lcd_->getAutoOff()) * board::minuteSeconds();
    if (seconds > 0)
        autoOffTimer_->runAfter(seconds);
}

void MenuController::onKey(unsigned short code, unsigned short state)
{
    autoOffTimer_->cancel();
    if (!lcd_->isBacklightOn())
    {
        // The key only wakes the panel.
        lcd_->turnOnBacklight(true);
        rearmAutoOff();
        return;
    }
    rearmAutoOff();
    if (!currentMenu_)
        return;
    const MenuId_ next = currentMenu_->keyEvent(code, state);
    if (next != currentMenu_->id())
        switchMenu(next);
}

void MenuController::onDeviceInputDataReceived(const _DeviceInputStatus* status)
{
    if (currentMenu_)
        currentMenu_->onDeviceInputDataReceived(status);
}

void MenuController::onDeviceOutputDataReceived(int outlet, const _DeviceOutputStatus* status)
{
    if (currentMenu_)
        currentMenu_->onDeviceOutputDataReceived(outlet, status);
}

void MenuController::onDeviceEnviromentReceived(const _EnvironmentalStatus* status)
{
    if (currentMenu_)
        currentMenu_->onDeviceEnvironmentReceived(status);
}

void MenuController::onDeviceDataTimeout(int module)
{
    if (currentMenu_)
        currentMenu_->onDeviceDataTimeoutEvent(module);
}

void MenuController::onDevicePortOnOff(int port, unsigned char relayAction, unsigned char result)
{
    if (currentMenu_)
        currentMenu_->onDevicePortOnOff(port, relayAction, result);
}

void MenuController::onDeviceStatusChanged(int module, unsigned int onOffBits, unsigned int statusBits)
{
    if (currentMenu_)
        currentMenu_->onDeviceStatusChanged(module, onOffBits, statusBits);
}

void MenuController::onCaliParamRequested(int module, unsigned short caliVoltage, unsigned short caliCurrent,
                                          unsigned short caliPower, unsigned char result)
{
    if (currentMenu_)
        currentMenu_->onCaliParamRequested(module, caliVoltage, caliCurrent, caliPower, result);
}

void MenuController::onCaliPramTransferred(int module, unsigned char result)
{
    if (currentMenu_)
        currentMenu_->onCaliPramTransferred(module, result);
}

void MenuController::onCalibrated(int port, unsigned char result)
{
    if (currentMenu_)
        currentMenu_->onCalibrated(port, result);
}
}
