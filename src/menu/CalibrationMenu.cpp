#include "menu/CalibrationMenu.h"

#include "CalibrationModule.h"
#include "LcdModule.h"
#include "muduo/base/Logging.h"

namespace menu
{
namespace
{
struct Tip
{
    int box[2][4];  // by language: x, y, width, height
    int textX[2];
    const char* text[2];
};
enum
{
    kWaitTip,
    kTurnOnTimeoutTip,
    kCalibrationTimeoutTip,
    kTurnOffTimeoutTip,
    kCalibrationOkTip,
};
const Tip kTips[] = {
    {{{14, 20, 100, 24}, {20, 20, 88, 24}}, {40, 31}, {"\xD5\xFD\xD4\xDA\xD0\xA3\xD7\xBC", "Calibrating"}},
    {{{14, 20, 100, 24}, {14, 20, 100, 24}},
     {28, 22},
     {"\xB1\xD5\xBA\xCF\xB6\xCB\xBF\xDA\xB3\xAC\xCA\xB1", "Turn On Failed"}},
    {{{14, 20, 100, 24}, {5, 20, 118, 24}},
     {28, 10},
     {"\xD0\xA3\xD7\xBC\xB6\xCB\xBF\xDA\xB3\xAC\xCA\xB1", "Calibration Failed"}},
    {{{14, 20, 100, 24}, {14, 20, 100, 24}},
     {28, 19},
     {"\xB6\xCF\xBF\xAA\xB6\xCB\xBF\xDA\xB3\xAC\xCA\xB1", "Turn Off Failed"}},
    {{{14, 20, 100, 24}, {14, 20, 100, 24}}, {40, 22}, {"\xD0\xA3\xD7\xBC\xB3\xC9\xB9\xA6", "Calibration OK"}},
};
const int kTipTextY = 26;
}

CalibrationMenu::CalibrationMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language,
                                 MenuController* controller, const std::shared_ptr<CalibrationModule>& calibration,
                                 const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                                 const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor), calibrationModule_(calibration), state_(kIdle)
{
    std::function<void()>* tables[] = {waitTipFun_, turnOnTimeoutTipFun_, calibrationTimeoutTipFun_,
                                       turnOffTimeoutTipFun_, calibrationOKTipFun_};
    for (int tip = kWaitTip; tip <= kCalibrationOkTip; ++tip)
        for (int l = 0; l < 2; ++l)
            tables[tip][l] = [this, tip, l] { drawTip(tip, l); };
}

void CalibrationMenu::drawTip(int tip, int language)
{
    const Tip& t = kTips[tip];
    const int* box = t.box[language];
    lcd_->createRegion(box[0], box[1], box[2], box[3]);
    drawText(t.textX[language], kTipTextY, t.text[language], false);
}

void CalibrationMenu::onDevicePortOnOff(int port, unsigned char relayAction, unsigned char result)
{
    calibrationModule_->onOutputOnOff(port, relayAction, result);
}

void CalibrationMenu::onCalibrated(int port, unsigned char result)
{
    calibrationModule_->onCalibrationResponse(port, result);
}

void CalibrationMenu::startCalibration(int port)
{
    waitTipFun_[lang()]();
    lcd_->refresh();
    calibrationModule_->setFinishedCallback([this](int p, int result) { onCalibration(p, result); });
    calibrationModule_->startCalibration(port);
    state_ = kCalibrating;
    LOG_INFO << "start calibrate port:" << port;
}

void CalibrationMenu::onCalibration(int, int result)
{
    static const struct
    {
        std::function<void()>(CalibrationMenu::*tip)[2];
        const char* log;
    } kResults[] = {
        {&CalibrationMenu::calibrationOKTipFun_, "port calibration ok"},
        {&CalibrationMenu::turnOnTimeoutTipFun_, "port on wait timeout"},
        {&CalibrationMenu::calibrationTimeoutTipFun_, "calibration wait timeout"},
        {&CalibrationMenu::turnOffTimeoutTipFun_, "port off wait timeout"},
    };
    if (result > 0 || result < -3)
        return;
    const auto& outcome = kResults[-result];
    lcd_->destroyRegion();
    (this->*outcome.tip)[lang()]();
    lcd_->refresh();
    state_ = kResultShown;
    LOG_INFO << outcome.log;
}

void CalibrationMenu::closeResult()
{
    lcd_->destroyRegion();
    state_ = kIdle;
}

void CalibrationMenu::drawRow(int x, int y, const std::function<unsigned short(bool)>& label, bool selected)
{
    drawFrame(x, y, label(selected), !selected);
}
}
