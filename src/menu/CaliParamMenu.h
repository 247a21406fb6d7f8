#pragma once
#include <functional>

#include "menu/Menu.h"

class PowerModuleContainer;

namespace menu
{
// The power modules' calibration reference values (voltage V, current mA,
// power W): read from every module on opening, edited digit by digit, and
// sent to every module on confirmation, which leads on to the calibration
// selection page. Each exchange waits 1.0 s for all modules.
class CaliParamMenu final : public Menu
{
public:
    static constexpr double kExchangeTimeout = 1.0;
    static constexpr int kConfirmRow = 3;
    static constexpr int kNoEdit = 5;
    static constexpr int kDigits = 4;
    static constexpr unsigned short kMaxValue = 9999;

    CaliParamMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                  const std::shared_ptr<PowerModuleContainer>& container, const std::shared_ptr<LcdModule>& lcd,
                  const std::shared_ptr<BeeperModule>& beeper, const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void onTimer(int id) override;
    void onCaliParamRequested(int module, unsigned short voltage, unsigned short current, unsigned short power,
                              unsigned char result) override;
    void onCaliPramTransferred(int module, unsigned char result) override;
    void updateView() override {}

    unsigned short bufferToValue() const;
    void valueToBuffer(unsigned short value);
    int state() const { return state_; }

private:
    enum State
    {
        kIdle = 0,
        kRequesting = 1,
        kTransferring = 2,
        kFailureShown = 3,
    };

    void bindFunctions();
    unsigned short& value(int row);
    static unsigned short shownValue(unsigned short value);
    void drawCaliParam(int language);
    // A value row plain, selected or (cursor on a digit) being edited.
    void drawValueRow(int row, bool selected);
    void drawConfirmRow(int language, bool selected);
    void startEdit(int row);
    void endEdit(int row);
    void edit(int row, unsigned short key);
    void drawEditDigit(bool cursor);
    void drawTip(int tip, int language);
    void moveRow(int row);
    void confirm();
    // True once every module has answered with success.
    bool acknowledge(int module);

    std::shared_ptr<PowerModuleContainer> powerModuleContainer_;
    std::function<void()> drawCaliParamFun_[2];
    std::function<void()> drawWaitTipFun_[2];
    std::function<void()> drawRequestCaliParamFailedTipFun_[2];
    std::function<void()> drawTransferCaliParamFailedTipFun_[2];
    unsigned short caliVoltage_;
    unsigned short caliCurrent_;
    unsigned short caliPower_;
    int row_;
    int editRow_;
    std::function<void()> enterFun_[2][4];
    std::function<void()> leaveFun_[2][4];
    std::function<void()> startEditFun_[4];
    std::function<void()> endEditFun_[4];
    std::function<void(unsigned short)> editFun_[4];
    char editBuffer_[kDigits];
    int editPos_;
    int timerId_;
    unsigned char ackMask_;
    unsigned char moduleCount_;
    int state_;
};
}
