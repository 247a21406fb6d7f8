#pragma once

namespace menu
{
// The front panel's pages. The ring holds 0 to 4 and 8; the calibration
// pages 5 to 7 are reached from the other pages only.
enum MenuId_ : int
{
    kInfoMenu = 0,
    kInputMenu = 1,
    kOutputMenu = 2,
    kTempHumiMenu = 3,
    kAddressMenu = 4,
    kCaliParamMenu = 5,
    kCaliSelMenu = 6,
    kCalibrateOutputMenu = 7,
    kSetMenu = 8,
    kNoMenu = 10,
};

// Key codes and states as the pages see them (after the flipped-screen swap).
enum KeyCode : unsigned short
{
    kKeyNext = 1,
    kKeyOk = 2,
    kKeyDown = 3,
    kKeyPrev = 4,
    kKeyUp = 5,
    kKeyRestore = 6,
};
enum KeyState : unsigned short
{
    kKeyPress = 256,
    kKeyLongPress = 512,
};
}
