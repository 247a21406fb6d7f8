#pragma once
#include <functional>
#include <memory>
#include <unordered_map>

#include "DeviceTypes.h"
#include "menu/MenuId.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace net
{
class EventLoop;
}
}
class BeeperModule;
class DeviceMonitor;
class LcdModule;
class PduTimer;

namespace menu
{
class MenuController;

// One page of the front panel. The controller hands it keys (swapped on a
// flipped screen) and, while it is on screen, the device events; it draws
// through a table of the driver's operations indexed by font size. Page
// timers of every page share one map. Loop thread only.
class Menu : muduo::noncopyable
{
public:
    Menu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
         const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
         const std::shared_ptr<DeviceMonitor>& monitor);
    virtual ~Menu();

    virtual void onCreate(MenuId_ previous) = 0;
    virtual void onDestroy(MenuId_ next) = 0;
    virtual MenuId_ onKey(unsigned short key, unsigned short state) = 0;
    virtual void onTimer(int) {}
    virtual void onDeviceInputDataReceived(const _DeviceInputStatus*) {}
    virtual void onDeviceOutputDataReceived(int, const _DeviceOutputStatus*) {}
    virtual void onDeviceEnvironmentReceived(const _EnvironmentalStatus*) {}
    virtual void onDeviceDataTimeoutEvent(int) {}
    virtual void onDevicePortOnOff(int, unsigned char, unsigned char) {}
    virtual void onDeviceStatusChanged(int, unsigned int, unsigned int) {}
    virtual void onCaliParamRequested(int, unsigned short, unsigned short, unsigned short, unsigned char) {}
    virtual void onCaliPramTransferred(int, unsigned char) {}
    virtual void onCalibrated(int, unsigned char) {}
    virtual void updateView() = 0;

    MenuId_ id() const { return id_; }
    MenuId_ keyEvent(unsigned short key, unsigned short state);
    void switchTo(MenuId_ id);

protected:
    typedef std::function<unsigned short(int, int, char, bool)> CharFun;
    typedef std::function<unsigned short(int, int, const char*, bool)> StringFun;
    typedef std::function<unsigned short(int, int, unsigned short, int, char, bool)> NumberFun;
    typedef std::function<unsigned short(int, int, double, int, char, int, bool)> FloatFun;
    typedef std::function<unsigned short(int, int, unsigned int, bool, bool)> IpFun;
    typedef std::function<unsigned short(int, int, unsigned char*, char, bool)> MacFun;
    typedef std::function<unsigned short()> SizeFun;

    static const char* const kCheckMark;  // GB2312 check mark
    static const char* const kCrossMark;  // GB2312 multiplication sign

    void initDrawFun();
    void checkKeyBeep(unsigned short key, unsigned short state);
    void checkRestoreDefaultAndReboot(unsigned short key, unsigned short state);
    int startTimer(double seconds, bool repeat);
    void stopTimer(int id);

    // 0 Chinese, 1 English: the index of every per-language table.
    int lang() const { return language_ == kLanguageChinese ? 0 : 1; }
    bool pressed(unsigned short state) const { return state == kKeyPress; }
    // Text mixing ASCII and GB2312 (bytes from 0x80 on, two a glyph): each
    // run goes to its own drawer; returns the width drawn.
    unsigned short drawText(int x, int y, const char* text, bool inverse);
    // The one-pixel frame around a text cell row of width w at (x, y),
    // drawn or erased.
    void drawFrame(int x, int y, int w, bool erase);
    // "Port 01: " in the page's language; returns its width.
    unsigned short drawPortLabel(int x, int y, int port, bool inverse);
    // The ring neighbour for keys 4 and 1, else stay: the rule of the ring pages.
    MenuId_ ringStep(unsigned short key, unsigned short state);

    MenuId_ id_;
    MenuController* controller_;
    std::shared_ptr<BeeperModule> beeper_;
    std::shared_ptr<DeviceMonitor> deviceMonitor_;
    Language language_;
    muduo::net::EventLoop* loop_;
    const std::shared_ptr<LcdModule>& lcd_;
    int fontSize_;
    CharFun drawAsciiCharFun_[2];
    StringFun drawAsciiStringFun_[2];
    StringFun drawHanziStringFun_[2];
    NumberFun drawNumberFun_[2];
    NumberFun drawHexNumberFun_[2];
    FloatFun drawFloatFun_[2];
    IpFun drawIpFun_[2];
    MacFun drawMacFun_[2];
    SizeFun getCharWidthFun_[2];
    SizeFun getCharHeightFun_[2];

    static std::unordered_map<int, std::shared_ptr<PduTimer>> timerMap_;
    static int s_timerId;
};
}
