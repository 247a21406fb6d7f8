#pragma once
#include "DeviceTypes.h"
#include "muduo/base/noncopyable.h"

// A bitmap in the LCD's page format: height / 8 strips of width bytes, each
// byte 8 vertical pixels of one column with the least significant bit on top;
// a set bit is dark.
struct _PICTURE
{
    int width = 0;
    int height = 0;  // a multiple of 8
    const unsigned char* data = nullptr;
};

// The front panel's drawing surface. Everything draws into a frame buffer;
// nothing shows until refresh(). x counts columns from the left, y rows from
// the top; reverse draws light on dark (or clears instead of setting).
class LcdModule : muduo::noncopyable
{
public:
    virtual ~LcdModule() = default;

    virtual int turnOnBacklight(bool on) = 0;
    virtual bool isBacklightOn() const = 0;
    virtual int setDir(LcdDirection dir) = 0;
    virtual LcdDirection getDir() const = 0;
    // Backlight time-out in minutes; only stored here, the menu times it.
    virtual void setAutoOff(int minutes) = 0;
    virtual int getAutoOff() const = 0;

    // Clears the whole frame buffer and marks it all for the next refresh.
    virtual void flush() = 0;
    // Saves an area, clears it and outlines it (a pop-up box); destroyRegion
    // puts the newest saved area back.
    virtual bool createRegion(int x, int y, int w, int h) = 0;
    virtual bool destroyRegion() = 0;
    virtual bool isRegionEmpty() const = 0;
    virtual void clearRect(int x, int y, int w, int h) = 0;
    // Sends what changed since the last refresh to the device.
    virtual void refresh() = 0;
    virtual void drawDot(int x, int y, bool reverse) = 0;
    virtual void drawRect(int x, int y, int w, int h, bool reverse) = 0;
    virtual void fillRect(int x, int y, int w, int h) = 0;

    // Text and numbers return the width drawn, in pixels.
    virtual int drawAsciiChar8x16(int x, int y, char c, bool reverse) = 0;
    virtual unsigned short drawAsciiString8x16(int x, int y, const char* text, bool reverse) = 0;
    virtual unsigned short drawHanziString16x16(int x, int y, const char* text, bool reverse) = 0;
    virtual int drawNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse) = 0;
    virtual int drawHexNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse) = 0;
    virtual int drawFloat8x16(int x, int y, double value, int width, char fill, int decimals, bool reverse) = 0;
    // ip in host order: the most significant byte is the first octet.
    virtual unsigned short drawIp8x16(int x, int y, unsigned int ip, bool zeroPad, bool reverse) = 0;
    virtual unsigned short drawMac8x16(int x, int y, const unsigned char* mac, char separator, bool reverse) = 0;
    virtual int drawAsciiChar6x12(int x, int y, char c, bool reverse) = 0;
    virtual unsigned short drawAsciiString6x12(int x, int y, const char* text, bool reverse) = 0;
    virtual unsigned short drawHanziString12x12(int x, int y, const char* text, bool reverse) = 0;
    virtual int drawNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse) = 0;
    virtual int drawHexNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse) = 0;
    virtual int drawFloat6x12(int x, int y, double value, int width, char fill, int decimals, bool reverse) = 0;
    virtual unsigned short drawIp6x12(int x, int y, unsigned int ip, bool zeroPad, bool reverse) = 0;
    virtual unsigned short drawMac6x12(int x, int y, const unsigned char* mac, char separator, bool reverse) = 0;

    virtual void drawPicture(int x, int y, const _PICTURE* picture, bool reverse) = 0;
    virtual void drawQrcode(int x, int y, const char* text, bool reverse) = 0;
    virtual int getLCDWidth() const = 0;
    virtual int getLCDHeight() const = 0;
};
