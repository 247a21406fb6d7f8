#include "menu/TempHumiMenu.h"

#include <cmath>

#include "GlobalData.h"
#include "LcdModule.h"

namespace menu
{
namespace
{
const char* const kTempLabel[2] = {"\xCE\xC2\xB6\xC8: ", "Temp: "};
const char* const kHumiLabel[2] = {"\xCA\xAA\xB6\xC8: ", "Humi: "};
const char* const kCelsius = " \xA1\xE6";
const char* const kPercent = " %";
const int kSignX = 74;
const int kValueX = 80;
const int kTempY = 16;
const int kHumiY = 32;
}

TempHumiMenu::TempHumiMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                           const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                           const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor)
{
    drawTempHumiFun_[0] = [this](bool v, double t, double h) { drawTempHumi(0, v, t, h); };
    drawTempHumiFun_[1] = [this](bool v, double t, double h) { drawTempHumi(1, v, t, h); };
    last_.valid = false;
    last_.temperature = 0.0;
    last_.humidity = 0.0;
}

void TempHumiMenu::onCreate(MenuId_) { updateView(); }

void TempHumiMenu::updateView()
{
    const _EnvironmentalStatus& environment = GlobalData::getDevice().status.environment;
    drawTempHumiFun_[lang()](environment.valid, environment.temperature, environment.humidity);
}

void TempHumiMenu::drawTempHumi(int language, bool valid, double temperature, double humidity)
{
    lcd_->flush();
    drawText(0, kTempY, kTempLabel[language], false);
    drawText(0, kHumiY, kHumiLabel[language], false);
    drawValues(valid, temperature, humidity);
    lcd_->refresh();
}

void TempHumiMenu::drawValues(bool valid, double temperature, double humidity)
{
    drawAsciiStringFun_[fontSize_](kSignX, kTempY, valid && temperature < 0.0 ? "-" : " ", false);
    struct
    {
        int y;
        double value;
        const char* unit;
    } const rows[2] = {{kTempY, std::fabs(temperature), kCelsius}, {kHumiY, humidity, kPercent}};
    for (const auto& row : rows)
    {
        const int w = valid ? drawFloatFun_[fontSize_](kValueX, row.y, row.value, 2, ' ', 1, false)
                            : drawAsciiStringFun_[fontSize_](kValueX, row.y, "--.-", false);
        // The unit follows the value; what a longer value left behind goes.
        const int end = kValueX + w + drawText(kValueX + w, row.y, row.unit, false);
        if (end < 128)
            lcd_->clearRect(end, row.y, 128 - end, getCharHeightFun_[fontSize_]());
    }
}

void TempHumiMenu::onDeviceEnvironmentReceived(const _EnvironmentalStatus* status)
{
    if (!status)
        return;
    if (status->valid == last_.valid && status->temperature == last_.temperature &&
        status->humidity == last_.humidity)
        return;
    drawValues(status->valid, status->temperature, status->humidity);
    lcd_->refresh();
    last_ = *status;
}

MenuId_ TempHumiMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    checkRestoreDefaultAndReboot(key, state);
    return ringStep(key, state);
}
}
