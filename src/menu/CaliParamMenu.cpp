#include "menu/CaliParamMenu.h"

#include <algorithm>

#include "LcdModule.h"
#include "PowerModuleContainer.h"
#include "muduo/base/Logging.h"

namespace menu
{
namespace
{
// Below these the modules cannot calibrate: the selection moves to the value.
const unsigned short kMinimum[3] = {50, 100, 10};
}

CaliParamMenu::CaliParamMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                             const std::shared_ptr<PowerModuleContainer>& container,
                             const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                             const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor),
      powerModuleContainer_(container),
      caliVoltage_(0),
      caliCurrent_(0),
      caliPower_(0),
      row_(0),
      editRow_(kNoEdit),
      editBuffer_{'0', '0', '0', '0'},
      editPos_(0),
      timerId_(-1),
      ackMask_(0),
      moduleCount_(0),
      state_(kIdle)
{
    bindFunctions();
}

unsigned short& CaliParamMenu::value(int row) { return row == 0 ? caliVoltage_ : row == 1 ? caliCurrent_ : caliPower_; }

void CaliParamMenu::onCreate(MenuId_)
{
    // The modules that exist answer, whatever outlet count the identity claims.
    moduleCount_ = static_cast<unsigned char>(std::min<size_t>(powerModuleContainer_->modules().size(), 8));
    LOG_INFO << "module count:" << static_cast<int>(moduleCount_);
    ackMask_ = 0;
    lcd_->flush();
    row_ = 0;
    state_ = kIdle;
    caliVoltage_ = caliCurrent_ = caliPower_ = 0;
    editRow_ = kNoEdit;
    drawCaliParamFun_[lang()]();
    enterFun_[lang()][0]();
    drawWaitTipFun_[lang()]();
    lcd_->refresh();
    powerModuleContainer_->requestCaliParam();
    ackMask_ = 0;
    state_ = kRequesting;
    timerId_ = startTimer(kExchangeTimeout, false);
}

bool CaliParamMenu::acknowledge(int module)
{
    if (module < 0 || module >= moduleCount_)
    {
        LOG_WARN << "calibration answer of module " << module << " dropped: no such module";
        return false;
    }
    ackMask_ = static_cast<unsigned char>(ackMask_ | (1u << module));
    if (ackMask_ != (1u << moduleCount_) - 1)
        return false;
    stopTimer(timerId_);
    LOG_INFO << "stop timer:" << timerId_;
    return true;
}

void CaliParamMenu::onCaliParamRequested(int module, unsigned short voltage, unsigned short current,
                                         unsigned short power, unsigned char result)
{
    if (state_ != kRequesting || result != 0 || !acknowledge(module))
        return;
    caliVoltage_ = shownValue(voltage);
    caliCurrent_ = shownValue(current);
    caliPower_ = shownValue(power);
    state_ = kIdle;
    lcd_->destroyRegion();
    for (int row = 0; row < 3; ++row)
        drawValueRow(row, false);
    enterFun_[lang()][row_]();
    lcd_->refresh();
}

// The page has four digits and sends what it shows: a larger value is
// clamped to the largest it can show.
unsigned short CaliParamMenu::shownValue(unsigned short value)
{
    if (value <= kMaxValue)
        return value;
    LOG_WARN << "calibration reference value " << value << " has more than four digits: shown and kept as "
             << kMaxValue;
    return kMaxValue;
}

void CaliParamMenu::onCaliPramTransferred(int module, unsigned char result)
{
    if (state_ != kTransferring || result != 0 || !acknowledge(module))
        return;
    state_ = kIdle;
    lcd_->destroyRegion();
    switchTo(kCaliSelMenu);
}

void CaliParamMenu::onTimer(int)
{
    if (state_ != kRequesting && state_ != kTransferring)
        return;
    lcd_->destroyRegion();
    if (state_ == kRequesting)
        drawRequestCaliParamFailedTipFun_[lang()]();
    else
        drawTransferCaliParamFailedTipFun_[lang()]();
    lcd_->refresh();
    state_ = kFailureShown;
}

void CaliParamMenu::moveRow(int row)
{
    leaveFun_[lang()][row_]();
    row_ = row;
    enterFun_[lang()][row_]();
    lcd_->refresh();
}

void CaliParamMenu::confirm()
{
    for (int row = 0; row < 3; ++row)
        if (value(row) < kMinimum[row])
            return moveRow(row);
    drawWaitTipFun_[lang()]();
    lcd_->refresh();
    powerModuleContainer_->transferCaliParam(caliVoltage_, caliCurrent_, caliPower_);
    ackMask_ = 0;
    state_ = kTransferring;
    timerId_ = startTimer(kExchangeTimeout, false);
    lcd_->refresh();
}

MenuId_ CaliParamMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    if (!pressed(state) || key < kKeyNext || key > kKeyUp)
        return id_;
    if (state_ != kIdle)
    {
        if (state_ == kFailureShown && key == kKeyOk)
        {
            lcd_->destroyRegion();
            state_ = kIdle;
        }
        if (key != kKeyPrev && key != kKeyNext)
            lcd_->refresh();
        return id_;
    }
    if (editRow_ != kNoEdit)
    {
        if (key == kKeyOk)
        {
            endEditFun_[editRow_]();
            editRow_ = kNoEdit;
        }
        else
            editFun_[editRow_](key);
        lcd_->refresh();
        return id_;
    }
    if (key == kKeyPrev || key == kKeyNext)
        return kInfoMenu;
    if (key == kKeyUp || key == kKeyDown)
        moveRow((row_ + (key == kKeyUp ? 3 : 1)) % 4);
    else if (row_ == kConfirmRow)
        confirm();
    else
    {
        editRow_ = row_;
        startEditFun_[row_]();
        lcd_->refresh();
    }
    return id_;
}
}
