#include "menu/InfoMenu.h"

#include <algorithm>
#include <string>

#include "GlobalData.h"
#include "LcdModule.h"

namespace menu
{
// Given to technicians in the README; only keys 3 and 5 are recorded.
const unsigned short InfoMenu::kHotKeySequence[8] = {3, 5, 3, 3, 5, 5, 3, 5};

namespace
{
const char* const kModelLabel[2] = {"\xD0\xCD\xBA\xC5", "Type"};
const char* const kCurrentLabel[2] = {"\xB5\xE7\xC1\xF7", "Current"};
const int kColonX = 48;
}

InfoMenu::InfoMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                   const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                   const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor), portStatus_(0), hotKeyTimerId_(-1)
{
    drawMainFun_[0] = [this] { drawMain(0); };
    drawMainFun_[1] = [this] { drawMain(1); };
}

void InfoMenu::onCreate(MenuId_) { updateView(); }

void InfoMenu::onDestroy(MenuId_)
{
    stopTimer(hotKeyTimerId_);
    hotKeys_.clear();
}

void InfoMenu::updateView()
{
    lcd_->flush();
    drawMainFun_[lang()]();
    lcd_->refresh();
}

void InfoMenu::drawMain(int language)
{
    const _Device& device = GlobalData::getDevice();
    std::string name = device.deviceName;
    drawText(0, 0, kModelLabel[language], false);
    drawAsciiCharFun_[fontSize_](kColonX, 0, ':', false);
    // Right-aligned when it fits beside the colon, else its head after it.
    const size_t cw = getCharWidthFun_[fontSize_]();
    const size_t room = 128 - kColonX;
    if (name.size() * cw < room)
        drawAsciiStringFun_[fontSize_](static_cast<int>(128 - name.size() * cw), 0, name.c_str(), false);
    else
        drawAsciiStringFun_[fontSize_](kColonX + static_cast<int>(cw), 0, name.substr(0, (room - cw) / cw).c_str(),
                                       false);

    drawText(0, 16, kCurrentLabel[language], false);
    drawAsciiCharFun_[fontSize_](kColonX, 16, ':', false);
    const int w = drawFloatFun_[fontSize_](98, 16, device.maxInputCurrent, 2, ' ', 0, false);
    drawAsciiStringFun_[fontSize_](98 + w, 16, " A", false);
    // Kept as drawn: a later status event is compared with what the screen shows.
    portStatus_ = static_cast<unsigned int>(device.status.onOffMask & 0xFFFFFFFFu);
    drawPortStatus(portStatus_);
}

void InfoMenu::drawPortStatus(unsigned int mask)
{
    for (int i = 0; i < 8; ++i)
    {
        const int x = 4 + 16 * i;
        drawAsciiCharFun_[fontSize_](x, 32, static_cast<char>('1' + i), false);
        drawHanziStringFun_[fontSize_](x - 2, 48, (mask >> i) & 1u ? kCheckMark : kCrossMark, false);
    }
}

void InfoMenu::onDeviceStatusChanged(int, unsigned int onOffBits, unsigned int)
{
    if (onOffBits == portStatus_)
        return;
    drawPortStatus(onOffBits);
    portStatus_ = onOffBits;
    lcd_->refresh();
}

MenuId_ InfoMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    checkRestoreDefaultAndReboot(key, state);
    if (pressed(state) && (key == kKeyDown || key == kKeyUp))
        return hotKeyStep(key) ? kCaliParamMenu : id_;
    return ringStep(key, state);
}

bool InfoMenu::hotKeyStep(unsigned short key)
{
    if (!hotKeys_.empty())
        stopTimer(hotKeyTimerId_);
    hotKeys_.push_back(key);
    if (hotKeys_.size() < 8)
    {
        hotKeyTimerId_ = startTimer(kHotKeyGap, false);
        return false;
    }
    const bool match = std::equal(hotKeys_.begin(), hotKeys_.end(), kHotKeySequence);
    hotKeys_.clear();
    return match;
}

void InfoMenu::onTimer(int) { hotKeys_.clear(); }
}
