#include "menu/InputMenu.h"

#include "GlobalData.h"
#include "LcdModule.h"

namespace menu
{
namespace
{
struct Row
{
    const char* label[2];
    double _DeviceInputStatus::*value;
    int x;
    int intDigits;
    int decimals;
    const char* unit;
};
// Every value that fits its places ends at x 106, left of the units.
const Row kRows[4] = {
    {{"\xCA\xE4\xC8\xEB\xB5\xE7\xD1\xB9:", "In Volt:"}, &_DeviceInputStatus::voltage, 70, 4, 1, "V"},
    {{"\xCA\xE4\xC8\xEB\xB5\xE7\xC1\xF7:", "In Cur :"}, &_DeviceInputStatus::current, 76, 2, 2, "A"},
    {{"\xCA\xE4\xC8\xEB\xB9\xA6\xC2\xCA:", "In Pow :"}, &_DeviceInputStatus::power, 70, 4, 1, "W"},
    {{"\xD7\xDC\xB5\xE7\xC1\xBF  :", "Energy :"}, &_DeviceInputStatus::energy, 58, 5, 2, "kWh"},
};
const int kUnitX = 109;
}

InputMenu::InputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                     const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                     const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor)
{
    drawInputFun_[0] = [this] { drawInput(0); };
    drawInputFun_[1] = [this] { drawInput(1); };
}

void InputMenu::onCreate(MenuId_) { updateView(); }

void InputMenu::updateView()
{
    lcd_->flush();
    drawInputFun_[lang()]();
    lcd_->refresh();
}

void InputMenu::drawInput(int language)
{
    for (int r = 0; r < 4; ++r)
    {
        drawText(0, 16 * r, kRows[r].label[language], false);
        drawAsciiStringFun_[fontSize_](kUnitX, 16 * r, kRows[r].unit, false);
    }
    drawValues(GlobalData::getDevice().status.input, 4);
}

void InputMenu::drawValues(const _DeviceInputStatus& status, int rows)
{
    for (int r = 0; r < rows; ++r)
        drawFloatFun_[fontSize_](kRows[r].x, 16 * r, status.*kRows[r].value, kRows[r].intDigits, ' ',
                                 kRows[r].decimals, false);
}

void InputMenu::onDeviceInputDataReceived(const _DeviceInputStatus* status)
{
    if (!status)
        return;
    drawValues(*status, 4);
    lcd_->refresh();
}

// Voltage, current and power fall to 0; the energy stays.
void InputMenu::onDeviceDataTimeoutEvent(int)
{
    drawValues(_DeviceInputStatus(), 3);
    lcd_->refresh();
}

MenuId_ InputMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    checkRestoreDefaultAndReboot(key, state);
    return ringStep(key, state);
}
}
