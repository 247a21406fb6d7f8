#include "menu/OutputMenu.h"

#include <algorithm>

#include "GlobalData.h"
#include "LcdModule.h"

namespace menu
{
namespace
{
const int kMarkX = 54;
const int kCurrentX = 80;
const int kRowsPerScreen = 4;
}

OutputMenu::OutputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                       const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                       const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor),
      screenIndex_(0),
      portStatus_(0),
      currents_(static_cast<size_t>(outletCount()), 0.0)
{
    drawOutputFun_[0] = [this] { drawOutput(0); };
    drawOutputFun_[1] = [this] { drawOutput(1); };
}

int OutputMenu::outletCount()
{
    return std::min(std::max(GlobalData::getDevice().portCount, 0), _DeviceStatus::kPortSlots);
}

void OutputMenu::onCreate(MenuId_) { updateView(); }

void OutputMenu::updateView()
{
    lcd_->flush();
    drawOutputFun_[lang()]();
    lcd_->refresh();
}

void OutputMenu::drawOutput(int)
{
    const _DeviceStatus& status = GlobalData::getDevice().status;
    portStatus_ = static_cast<unsigned int>(status.onOffMask & 0xFFFFFFFFu);
    const int first = kRowsPerScreen * screenIndex_;
    const int rows = std::min(outletCount() - first, kRowsPerScreen);
    for (int r = 0; r < rows; ++r)
    {
        const int port = first + r;
        const bool on = isOn(portStatus_, port);
        const double current = status.outputs[static_cast<size_t>(port)].current;
        drawPortLabel(0, 16 * r, port, false);
        drawHanziStringFun_[fontSize_](kMarkX, 16 * r, on ? kCheckMark : kCrossMark, false);
        const int w = on ? drawFloatFun_[fontSize_](kCurrentX, 16 * r, current, 2, ' ', 2, false)
                         : drawAsciiStringFun_[fontSize_](kCurrentX, 16 * r, "--.--", false);
        drawAsciiStringFun_[fontSize_](kCurrentX + w, 16 * r, " A", false);
        if (static_cast<size_t>(port) < currents_.size())
            currents_[static_cast<size_t>(port)] = current;
    }
}

void OutputMenu::drawCurrent(int port, double current, bool on)
{
    const int y = 16 * (port % kRowsPerScreen);
    if (on)
        drawFloatFun_[fontSize_](kCurrentX, y, current, 2, ' ', 2, false);
    else
        drawAsciiStringFun_[fontSize_](kCurrentX, y, "--.--", false);
}

void OutputMenu::onDeviceOutputDataReceived(int port, const _DeviceOutputStatus* status)
{
    // Only outlets counted when the page was built have a cached current.
    if (!status || port < 0 || static_cast<size_t>(port) >= currents_.size())
        return;
    double& cached = currents_[static_cast<size_t>(port)];
    if (status->current == cached)
        return;
    if (port / kRowsPerScreen == screenIndex_)
        drawCurrent(port, status->current, isOn(portStatus_, port));
    cached = status->current;
    lcd_->refresh();
}

void OutputMenu::onDeviceStatusChanged(int module, unsigned int onOffBits, unsigned int)
{
    const int outlets = outletCount();
    if (onOffBits == portStatus_ || module < 0 || module > outlets / 8)
        return;
    for (int port = module * 8; port < module * 8 + 8 && port < outlets; ++port)
        if (port / kRowsPerScreen == screenIndex_)
            drawHanziStringFun_[fontSize_](kMarkX, 16 * (port % kRowsPerScreen),
                                           isOn(onOffBits, port) ? kCheckMark : kCrossMark, false);
    portStatus_ = onOffBits;
    lcd_->refresh();
}

MenuId_ OutputMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    checkRestoreDefaultAndReboot(key, state);
    const int screens = (outletCount() + kRowsPerScreen - 1) / kRowsPerScreen;
    if (!pressed(state) || (key != kKeyUp && key != kKeyDown))
        return ringStep(key, state);
    // No outlets, no screens: stay on the first.
    if (screens > 0)
        screenIndex_ = (screenIndex_ + (key == kKeyUp ? screens - 1 : 1)) % screens;
    updateView();
    return id_;
}
}
