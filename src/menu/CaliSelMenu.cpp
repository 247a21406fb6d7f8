#include "menu/CaliSelMenu.h"

#include "CalibrationModule.h"
#include "LcdModule.h"

namespace menu
{
namespace
{
const int kLabelX = 46;
const int kRowY[2] = {16, 36};
const char* const kLabels[2][2] = {
    {"\xCA\xE4\xC8\xEB\xB6\xCB", "\xCA\xE4\xB3\xF6\xB6\xCB"},
    {"Input", "Output"},
};
}

CaliSelMenu::CaliSelMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                         const std::shared_ptr<CalibrationModule>& calibration, const std::shared_ptr<LcdModule>& lcd,
                         const std::shared_ptr<BeeperModule>& beeper, const std::shared_ptr<DeviceMonitor>& monitor)
    : CalibrationMenu(loop, id, language, controller, calibration, lcd, beeper, monitor), curRow_(0)
{
    for (int l = 0; l < 2; ++l)
    {
        drawCaliSelFun_[l] = [this, l] { drawCaliSel(l); };
        for (int row = 0; row < 2; ++row)
        {
            enterRowFun_[l][row] = [this, l, row] { drawRowLabel(l, row, true); };
            leaveRowFun_[l][row] = [this, l, row] { drawRowLabel(l, row, false); };
        }
    }
}

void CaliSelMenu::drawCaliSel(int language)
{
    for (int row = 0; row < 2; ++row)
        drawText(kLabelX, kRowY[row], kLabels[language][row], false);
}

void CaliSelMenu::drawRowLabel(int language, int row, bool selected)
{
    drawRow(kLabelX, kRowY[row],
            [&](bool inverse) { return drawText(kLabelX, kRowY[row], kLabels[language][row], inverse); }, selected);
}

void CaliSelMenu::onCreate(MenuId_)
{
    lcd_->flush();
    drawCaliSelFun_[lang()]();
    enterRowFun_[lang()][curRow_]();
    lcd_->refresh();
}

MenuId_ CaliSelMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    if (!pressed(state))
        return id_;
    if (key == kKeyUp || key == kKeyDown)
    {
        if (state_ == kIdle)
        {
            leaveRowFun_[lang()][curRow_]();
            curRow_ = (curRow_ + 1) % 2;
            enterRowFun_[lang()][curRow_]();
            lcd_->refresh();
        }
        return id_;
    }
    if (key == kKeyPrev || key == kKeyNext)
        return state_ == kIdle ? kInfoMenu : id_;
    if (key != kKeyOk)
        return id_;
    if (curRow_ == 1)
        return kCalibrateOutputMenu;
    if (state_ == kIdle)
        startCalibration(CalibrationModule::kInletPort);
    else if (state_ == kResultShown)
    {
        closeResult();
        lcd_->refresh();
    }
    return id_;
}
}
