#include "menu/CalibrateOutputMenu.h"

#include <algorithm>

#include "CalibrationModule.h"
#include "GlobalData.h"
#include "LcdModule.h"
#include "PowerModuleContainer.h"
#include "muduo/base/Logging.h"

namespace menu
{
namespace
{
const int kRows = 4;
const int kMarkX = 110;

int outletCount() { return std::max(GlobalData::getDevice().portCount, 0); }
}

CalibrateOutputMenu::CalibrateOutputMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language,
                                         MenuController* controller,
                                         const std::shared_ptr<CalibrationModule>& calibration,
                                         const std::shared_ptr<LcdModule>& lcd,
                                         const std::shared_ptr<BeeperModule>& beeper,
                                         const std::shared_ptr<DeviceMonitor>& monitor)
    : CalibrationMenu(loop, id, language, controller, calibration, lcd, beeper, monitor),
      previousMenu_(kNoMenu),
      screenIndex_(0),
      curRow_(0),
      calibratingPort_(-1)
{
    for (int l = 0; l < 2; ++l)
    {
        drawCalibrateFun_[l] = [this, l] { drawCalibrate(l); };
        for (int row = 0; row < kRows; ++row)
        {
            enterRowFun_[l][row] = [this, l, row] { drawRowLabel(l, row, true); };
            leaveRowFun_[l][row] = [this, l, row] { drawRowLabel(l, row, false); };
        }
    }
}

bool CalibrateOutputMenu::calibrated(int port)
{
    return port >= 0 && port < 64 && ((GlobalData::getDevice().status.calibratedMask >> port) & 1u);
}

void CalibrateOutputMenu::drawMark(int port)
{
    drawHanziStringFun_[fontSize_](kMarkX, 16 * (port % kRows), calibrated(port) ? kCheckMark : kCrossMark, false);
}

void CalibrateOutputMenu::drawCalibrate(int)
{
    // Four rows also on a last screen that the outlets do not fill.
    for (int row = 0; row < kRows; ++row)
    {
        const int port = kRows * screenIndex_ + row;
        drawFrame(0, 16 * row, drawPortLabel(0, 16 * row, port, false), true);
        drawMark(port);
    }
}

void CalibrateOutputMenu::drawRowLabel(int, int row, bool selected)
{
    const int port = kRows * screenIndex_ + row;
    drawRow(0, 16 * row, [&](bool inverse) { return drawPortLabel(0, 16 * row, port, inverse); }, selected);
}

void CalibrateOutputMenu::onCreate(MenuId_ previous)
{
    previousMenu_ = previous;
    lcd_->flush();
    drawCalibrateFun_[lang()]();
    enterRowFun_[lang()][curRow_]();
    lcd_->refresh();
}

void CalibrateOutputMenu::select(int screen, int row)
{
    if (screen == screenIndex_)
    {
        leaveRowFun_[lang()][curRow_]();
        curRow_ = row;
    }
    else
    {
        screenIndex_ = screen;
        curRow_ = row;
        drawCalibrateFun_[lang()]();
    }
    enterRowFun_[lang()][curRow_]();
    lcd_->refresh();
}

MenuId_ CalibrateOutputMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    if (!pressed(state))
        return id_;
    const int n = outletCount();
    // Without outlets there is no last one: the selection stays on the first row.
    const int lastScreen = n > 0 ? (n - 1) / kRows : 0;
    const int lastRow = n > 0 ? (n - 1) % kRows : 0;
    switch (key)
    {
    case kKeyUp:
        if (state_ == kIdle)
        {
            if (curRow_ > 0)
                select(screenIndex_, curRow_ - 1);
            else if (screenIndex_ > 0)
                select(screenIndex_ - 1, kRows - 1);
            else
                select(lastScreen, lastRow);
        }
        return id_;
    case kKeyDown:
        if (state_ == kIdle)
            curRow_ < kRows - 1 ? select(screenIndex_, curRow_ + 1)
                                : select(screenIndex_ < lastScreen ? screenIndex_ + 1 : 0, 0);
        return id_;
    case kKeyPrev:
    case kKeyNext:
        return state_ == kIdle ? previousMenu_ : id_;
    case kKeyOk:
        if (state_ == kIdle)
            startSelected();
        else if (state_ == kResultShown)
        {
            closeResult();
            if (calibratingPort_ / kRows == screenIndex_ && calibrated(calibratingPort_))
                drawMark(calibratingPort_);
            lcd_->refresh();
        }
        return id_;
    default:
        return id_;
    }
}

void CalibrateOutputMenu::startSelected()
{
    const int port = kRows * screenIndex_ + curRow_;
    const int switchable = std::min(GlobalData::getDevice().slotCount(), PowerModuleContainer::kPortCount);
    if (port >= switchable)
    {
        LOG_WARN << "outlet " << port << " cannot be calibrated: the power module does not switch it";
        return;
    }
    // The alarm monitor leaves the outlet alone while it is measured.
    GlobalData::getDevice().status.calibratingPort = port;
    calibratingPort_ = port;
    startCalibration(port);
}

void CalibrateOutputMenu::onCalibration(int port, int result)
{
    if (result > 0 || result < -3)
        return;
    _DeviceStatus& status = GlobalData::getDevice().status;
    status.calibratingPort = -1;
    if (result == 0 && calibratingPort_ >= 0 && calibratingPort_ < 64)
        status.calibratedMask |= 1ULL << calibratingPort_;
    CalibrationMenu::onCalibration(port, result);
}
}
