#pragma once
#include <functional>

#include "menu/Menu.h"

namespace menu
{
// The panel's own settings: screen direction and backlight time-out. Keys
// 3 and 5 pick a row, OK (2) edits it, the value keys step its value and a
// second OK applies and saves a changed value. Every rendering exists per
// language, option and row as a bound function, so the key handling never
// asks which language is shown.
class SetMenu final : public Menu
{
public:
    // Minutes of the time-out options; 0 is never.
    static const int kAutoOffValue[6];

    SetMenu(muduo::net::EventLoop* loop, MenuId_ id, Language language, MenuController* controller,
            const std::shared_ptr<LcdModule>& lcd, const std::shared_ptr<BeeperModule>& beeper,
            const std::shared_ptr<DeviceMonitor>& monitor);

    void onCreate(MenuId_ previous) override;
    void onDestroy(MenuId_) override {}
    MenuId_ onKey(unsigned short key, unsigned short state) override;
    void updateView() override {}

private:
    typedef std::function<void()> Fun;
    enum Rendering
    {
        kSelect,    // inverted and framed: the selected row
        kDeselect,  // plain, frame erased
        kDisplay,   // plain and framed: the value being edited
        kClear,     // wiped
        kRenderings,
    };
    static constexpr int kNoEdit = 3;

    void bindFunctions();
    void drawSet(int language);
    void renderOption(int language, int row, int option, Rendering how);
    // The rendering table of a row, for one language: one entry per option.
    Fun* optionFun(int row, Rendering how, int language);
    int& option(int row) { return row == 0 ? curScreenDirOption_ : curAutoOffOption_; }
    void edit(int language, int row, unsigned short key);
    void apply(int row);

    int curRow_;
    int editRow_;
    int curScreenDirOption_;
    int curAutoOffOption_;
    Fun drawSetFun_[2];
    Fun enterFun_[2][2];
    Fun leaveFun_[2][2];
    Fun startEditFun_[2][2];
    Fun endEditFun_[2][2];
    std::function<void(unsigned short)> editFun_[2][2];
    Fun selectScreenDirOptionFun_[2][2];
    Fun deselectScreenDirOptionFun_[2][2];
    Fun displayScreenDirOptionFun_[2][2];
    Fun clearScreenDirOptionFun_[2][2];
    Fun selectAutoOffOptionFun_[2][6];
    Fun deselectAutoOffOptionFun_[2][6];
    Fun displayAutoOffOptionFun_[2][6];
    Fun clearAutoOffOptionFun_[2][6];
};
}
