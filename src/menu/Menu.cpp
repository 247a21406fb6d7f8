#include "menu/Menu.h"

#include "BeeperModule.h"
#include "DeviceMonitor.h"
#include "GlobalData.h"
#include "LcdModule.h"
#include "PduTimer.h"
#include "menu/MenuController.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

namespace menu
{
std::unordered_map<int, std::shared_ptr<PduTimer>> Menu::timerMap_(10);
int Menu::s_timerId = 0;

namespace
{
const char* const kUploadDir = "/var/www/public/uploads";
}

Menu::Menu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
           const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
           const std::shared_ptr<DeviceMonitor>& monitor)
    : id_(id),
      controller_(controller),
      beeper_(beeper),
      deviceMonitor_(monitor),
      language_(language),
      loop_(loop),
      lcd_(lcd),
      fontSize_(1)
{
    initDrawFun();
}

// Every page goes with the controller, so the first page gone takes every
// page timer with it: none may outlive the loop it was armed on.
Menu::~Menu()
{
    for (auto& entry : timerMap_)
        entry.second->cancel();
    timerMap_.clear();
}

MenuId_ Menu::keyEvent(unsigned short key, unsigned short state)
{
    if (lcd_->getDir() == kLcdFlipped)
    {
        static const unsigned short kFlipped[] = {0, 4, 2, 5, 1, 3, 6};
        if (key < sizeof kFlipped / sizeof kFlipped[0])
            key = kFlipped[key];
    }
    return onKey(key, state);
}

void Menu::switchTo(MenuId_ id) { controller_->switchMenu(id); }

void Menu::checkKeyBeep(unsigned short, unsigned short state)
{
    if (pressed(state) && deviceMonitor_->beepState() == DeviceMonitor::kSilent)
        beeper_->beepCount(1, 50, 50);
}

void Menu::checkRestoreDefaultAndReboot(unsigned short key, unsigned short state)
{
    if (key != kKeyRestore || state != kKeyLongPress)
        return;
    beeper_->beepCount(2, 50, 50);
    // On the unit the paths stay as they are; a board root keeps the copy below it.
    const std::string command = "cp -a " + board::path(GlobalData::s_defaultDbName) + " " + board::path(kUploadDir)
                                + " && reboot";
    LOG_INFO << "restore defaults: " << command;
    board::runCommand(command);
}

int Menu::startTimer(double seconds, bool repeat)
{
    const int id = s_timerId++;
    auto timer = std::make_shared<PduTimer>(loop_, id);
    timer->setTimerCallback([this, repeat](const std::shared_ptr<PduTimer>& fired) {
        const int firedId = fired->getId();
        onTimer(firedId);
        if (!repeat)
            timerMap_.erase(firedId);
    });
    if (repeat)
        timer->runEvery(seconds);
    else
        timer->runAfter(seconds);
    timerMap_.emplace(id, timer);
    return id;
}

void Menu::stopTimer(int id)
{
    auto it = timerMap_.find(id);
    if (it == timerMap_.end())
        return;
    it->second->cancel();
    timerMap_.erase(it);
}

MenuId_ Menu::ringStep(unsigned short key, unsigned short state)
{
    if (pressed(state) && key == kKeyPrev)
        return controller_->getToPrevPage();
    if (pressed(state) && key == kKeyNext)
        return controller_->getToNextPage();
    return id_;
}
}
