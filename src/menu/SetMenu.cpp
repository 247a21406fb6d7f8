#include "menu/SetMenu.h"

#include "GlobalData.h"
#include "LcdModule.h"
#include "menu/MenuController.h"
#include "muduo/base/Logging.h"

namespace menu
{
const int SetMenu::kAutoOffValue[6] = {1, 2, 3, 5, 10, 0};

namespace
{
const int kOptionCount[2] = {2, 6};
const int kRowY[2] = {10, 38};
const int kValueX = 80;
const char* const kRowLabel[2][2] = {
    {"\xC6\xC1\xC4\xBB\xB7\xBD\xCF\xF2", "\xD7\xD4\xB6\xAF\xCF\xA8\xC6\xC1"},
    {"Screen Dir", "Auto Off"},
};
// By language, row and option.
const char* const kOptionText[2][2][6] = {
    {{"\xD5\xFD\xB3\xA3", "\xB7\xAD\xD7\xAA"},
     {"1 \xB7\xD6", "2 \xB7\xD6", "3 \xB7\xD6", "5 \xB7\xD6", "10 \xB7\xD6", "\xD3\xC0\xB2\xBB"}},
    {{"Normal", "Flip"}, {"1 min", "2 min", "3 min", "5 min", "10 min", "Never"}},
};
// The box width of each option's text, which the clear rendering wipes.
const int kClearWidth[2][2][6] = {
    {{26, 26}, {26, 26, 26, 26, 32, 26}},
    {{38, 26}, {32, 32, 32, 32, 38, 32}},
};

int autoOffOption(int minutes)
{
    for (int i = 0; i < 6; ++i)
        if (SetMenu::kAutoOffValue[i] == minutes)
            return i;
    return 0;  // a time the panel does not offer shows as 1 minute
}
}

SetMenu::SetMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
                 const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
                 const std::shared_ptr<DeviceMonitor>& monitor)
    : Menu(loop, id, language, controller, lcd, beeper, monitor),
      curRow_(0),
      editRow_(kNoEdit),
      curScreenDirOption_(lcd_->getDir() != kLcdNormal ? 1 : 0),
      curAutoOffOption_(autoOffOption(lcd_->getAutoOff()))
{
    bindFunctions();
    LOG_INFO << "curAutoOffOption_:" << curAutoOffOption_;
}

SetMenu::Fun* SetMenu::optionFun(int row, Rendering how, int language)
{
    typedef Fun(SetMenu::*DirTable)[2][2];
    typedef Fun(SetMenu::*AutoOffTable)[2][6];
    static const DirTable kDir[kRenderings] = {
        &SetMenu::selectScreenDirOptionFun_, &SetMenu::deselectScreenDirOptionFun_,
        &SetMenu::displayScreenDirOptionFun_, &SetMenu::clearScreenDirOptionFun_};
    static const AutoOffTable kAutoOff[kRenderings] = {
        &SetMenu::selectAutoOffOptionFun_, &SetMenu::deselectAutoOffOptionFun_, &SetMenu::displayAutoOffOptionFun_,
        &SetMenu::clearAutoOffOptionFun_};
    return row == 0 ? (this->*kDir[how])[language] : (this->*kAutoOff[how])[language];
}

void SetMenu::bindFunctions()
{
    for (int l = 0; l < 2; ++l)
    {
        drawSetFun_[l] = [this, l] { drawSet(l); };
        for (int row = 0; row < 2; ++row)
        {
            for (int how = kSelect; how < kRenderings; ++how)
                for (int o = 0; o < kOptionCount[row]; ++o)
                    optionFun(row, static_cast<Rendering>(how), l)[o] = [this, l, row, o, how] {
                        renderOption(l, row, o, static_cast<Rendering>(how));
                    };
            enterFun_[l][row] = [this, l, row] { optionFun(row, kSelect, l)[option(row)](); };
            leaveFun_[l][row] = [this, l, row] { optionFun(row, kDeselect, l)[option(row)](); };
            startEditFun_[l][row] = [this, l, row] { optionFun(row, kDisplay, l)[option(row)](); };
            endEditFun_[l][row] = [this, l, row] { optionFun(row, kSelect, l)[option(row)](); };
            editFun_[l][row] = [this, l, row](unsigned short key) { edit(l, row, key); };
        }
    }
}

void SetMenu::drawSet(int language)
{
    drawText(1, kRowY[0], kRowLabel[language][0], false);
    leaveFun_[language][0]();
    drawText(1, kRowY[1], kRowLabel[language][1], false);
    leaveFun_[language][1]();
}

void SetMenu::renderOption(int language, int row, int option, Rendering how)
{
    const int y = kRowY[row];
    if (how == kClear)
    {
        lcd_->clearRect(kValueX - 1, y - 1, kClearWidth[language][row][option], getCharHeightFun_[fontSize_]() + 2);
        return;
    }
    const int w = drawText(kValueX, y, kOptionText[language][row][option], how == kSelect);
    drawFrame(kValueX, y, w, how == kDeselect);
}

void SetMenu::edit(int language, int row, unsigned short key)
{
    int step = 0;
    if (key == kKeyNext || key == kKeyDown)
        step = 1;
    else if (key == kKeyPrev || key == kKeyUp)
        step = kOptionCount[row] - 1;  // back one; the direction row just toggles
    if (step == 0)
        return;
    int& current = option(row);
    optionFun(row, kClear, language)[current]();
    current = (current + step) % kOptionCount[row];
    optionFun(row, kDisplay, language)[current]();
}

void SetMenu::onCreate(MenuId_)
{
    lcd_->flush();
    drawSetFun_[lang()]();
    enterFun_[lang()][curRow_]();
    lcd_->refresh();
}

MenuId_ SetMenu::onKey(unsigned short key, unsigned short state)
{
    checkKeyBeep(key, state);
    if (!pressed(state) || key < kKeyNext || key > kKeyUp)
        return id_;
    const int l = lang();
    MenuId_ result = id_;
    if (editRow_ != kNoEdit && key != kKeyOk)
        editFun_[l][editRow_](key);
    else if (editRow_ != kNoEdit)
    {
        endEditFun_[l][editRow_]();
        apply(editRow_);
        editRow_ = kNoEdit;
    }
    else if (key == kKeyDown || key == kKeyUp)
    {
        leaveFun_[l][curRow_]();
        curRow_ = (curRow_ + 1) % 2;
        enterFun_[l][curRow_]();
    }
    else if (key == kKeyPrev)
        result = controller_->getToPrevPage();
    else if (key == kKeyNext)
        result = controller_->getToNextPage();
    else
    {
        editRow_ = curRow_;
        startEditFun_[l][curRow_]();
    }
    lcd_->refresh();
    return result;
}

void SetMenu::apply(int row)
{
    if (row == 0)
    {
        const LcdDirection dir = curScreenDirOption_ == 0 ? kLcdNormal : kLcdFlipped;
        if (lcd_->getDir() == dir)
            return;
        lcd_->setDir(dir);
        lcd_->flush();
        drawSetFun_[lang()]();
        enterFun_[lang()][curRow_]();
        GlobalData::instance()->saveScreenDirToDb(dir == kLcdNormal);
        return;
    }
    const int minutes = kAutoOffValue[curAutoOffOption_];
    if (lcd_->getAutoOff() == minutes)
        return;
    LOG_INFO << "new auto off:" << minutes;
    controller_->setAutoOff(minutes);
    GlobalData::instance()->updateBacklightAutoOffToDb(minutes);
}
}
