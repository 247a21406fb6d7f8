// The page base's drawing table and its text helpers.
#include <string>

#include "LcdModule.h"
#include "menu/Menu.h"

namespace menu
{
const char* const Menu::kCheckMark = "\xA1\xCC";
const char* const Menu::kCrossMark = "\xA1\xC1";

namespace
{
typedef unsigned short u16;
}

void Menu::initDrawFun()
{
    // Each closure reads the controller's driver at the call.
    drawAsciiCharFun_[0] = [this](int x, int y, char c, bool r) { return u16(lcd_->drawAsciiChar8x16(x, y, c, r)); };
    drawAsciiCharFun_[1] = [this](int x, int y, char c, bool r) { return u16(lcd_->drawAsciiChar6x12(x, y, c, r)); };
    drawAsciiStringFun_[0] = [this](int x, int y, const char* t, bool r) {
        return lcd_->drawAsciiString8x16(x, y, t, r);
    };
    drawAsciiStringFun_[1] = [this](int x, int y, const char* t, bool r) {
        return lcd_->drawAsciiString6x12(x, y, t, r);
    };
    drawHanziStringFun_[0] = [this](int x, int y, const char* t, bool r) {
        return lcd_->drawHanziString16x16(x, y, t, r);
    };
    drawHanziStringFun_[1] = [this](int x, int y, const char* t, bool r) {
        return lcd_->drawHanziString12x12(x, y, t, r);
    };
    drawNumberFun_[0] = [this](int x, int y, u16 v, int d, char f, bool r) {
        return u16(lcd_->drawNumber8x16(x, y, v, d, f, r));
    };
    drawNumberFun_[1] = [this](int x, int y, u16 v, int d, char f, bool r) {
        return u16(lcd_->drawNumber6x12(x, y, v, d, f, r));
    };
    drawHexNumberFun_[0] = [this](int x, int y, u16 v, int d, char f, bool r) {
        return u16(lcd_->drawHexNumber8x16(x, y, v, d, f, r));
    };
    drawHexNumberFun_[1] = [this](int x, int y, u16 v, int d, char f, bool r) {
        return u16(lcd_->drawHexNumber6x12(x, y, v, d, f, r));
    };
    drawFloatFun_[0] = [this](int x, int y, double v, int d, char f, int n, bool r) {
        return u16(lcd_->drawFloat8x16(x, y, v, d, f, n, r));
    };
    drawFloatFun_[1] = [this](int x, int y, double v, int d, char f, int n, bool r) {
        return u16(lcd_->drawFloat6x12(x, y, v, d, f, n, r));
    };
    drawIpFun_[0] = [this](int x, int y, unsigned int ip, bool z, bool r) { return lcd_->drawIp8x16(x, y, ip, z, r); };
    drawIpFun_[1] = [this](int x, int y, unsigned int ip, bool z, bool r) { return lcd_->drawIp6x12(x, y, ip, z, r); };
    drawMacFun_[0] = [this](int x, int y, unsigned char* mac, char s, bool r) {
        return lcd_->drawMac8x16(x, y, mac, s, r);
    };
    drawMacFun_[1] = [this](int x, int y, unsigned char* mac, char s, bool r) {
        return lcd_->drawMac6x12(x, y, mac, s, r);
    };
    getCharWidthFun_[0] = [] { return u16(8); };
    getCharWidthFun_[1] = [] { return u16(6); };
    getCharHeightFun_[0] = [] { return u16(16); };
    getCharHeightFun_[1] = [] { return u16(12); };
}

unsigned short Menu::drawText(int x, int y, const char* text, bool inverse)
{
    unsigned short total = 0;
    for (const char* p = text; p && *p;)
    {
        const bool hanzi = static_cast<unsigned char>(*p) >= 0x80;
        const char* end = p;
        while (*end && (static_cast<unsigned char>(*end) >= 0x80) == hanzi)
            end += hanzi && end[1] ? 2 : 1;
        const std::string run(p, end);
        const StringFun& draw = hanzi ? drawHanziStringFun_[fontSize_] : drawAsciiStringFun_[fontSize_];
        total = static_cast<unsigned short>(total + draw(x + total, y, run.c_str(), inverse));
        p = end;
    }
    return total;
}

void Menu::drawFrame(int x, int y, int w, bool erase)
{
    lcd_->drawRect(x - 1, y - 1, w + 2, getCharHeightFun_[fontSize_]() + 2, erase);
}

unsigned short Menu::drawPortLabel(int x, int y, int port, bool inverse)
{
    static const char* const kLabel[2] = {"\xB6\xCB\xBF\xDA ", "Port "};
    int w = drawText(x, y, kLabel[lang()], inverse);
    w += drawNumberFun_[fontSize_](x + w, y, static_cast<unsigned short>(port + 1), 2, '0', inverse);
    w += drawAsciiStringFun_[fontSize_](x + w, y, ": ", inverse);
    return static_cast<unsigned short>(w);
}
}
