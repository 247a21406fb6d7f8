// Numbers, decimal fractions and addresses of ST7567LcdModule.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "ST7567LcdModule.h"

namespace
{
constexpr int kMaxPadding = 10;
constexpr int kMaxDecimals = 9;

// Digits of value, most significant first, padded on the left with fill to
// min(width, 10) characters; a longer number is not cut.
std::string numberText(uint64_t value, int base, int width, char fill, bool negative = false)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do
    {
        digits.insert(digits.begin(), kDigits[value % static_cast<unsigned>(base)]);
        value /= static_cast<unsigned>(base);
    } while (value != 0);
    size_t length = digits.size() + (negative ? 1 : 0);
    size_t wanted = static_cast<size_t>(std::min(std::max(width, 0), kMaxPadding));
    std::string pad(wanted > length ? wanted - length : 0, fill);
    if (!negative)
        return pad + digits;
    return fill == '0' ? "-" + pad + digits : pad + "-" + digits;  // zeros go after the sign
}
}

int ST7567LcdModule::drawCharacters(FontSize size, int x, int y, const std::string& text, bool reverse)
{
    int advance = size == kLarge ? 8 : 6;
    int lineHeight = size == kLarge ? 16 : 12;
    for (char c : text)
    {
        if (y >= kHeight)
            break;
        drawAsciiChar(size, x, y, c, reverse);
        x += advance;
        if (x >= kWidth)
        {
            y += lineHeight;
            x = 0;
        }
    }
    return advance * static_cast<int>(text.size());
}

int ST7567LcdModule::drawBaseNumber(FontSize size, int x, int y, unsigned short value, int base, int width, char fill,
                                    bool reverse)
{
    if (base < 2 || base > 16)
        return 0;
    return drawCharacters(size, x, y, numberText(value, base, width, fill), reverse);
}

int ST7567LcdModule::drawBaseNumber8x16(int x, int y, unsigned short value, int base, int width, char fill, bool reverse)
{
    return drawBaseNumber(kLarge, x, y, value, base, width, fill, reverse);
}

int ST7567LcdModule::drawBaseNumber6x12(int x, int y, unsigned short value, int base, int width, char fill, bool reverse)
{
    return drawBaseNumber(kSmall, x, y, value, base, width, fill, reverse);
}

int ST7567LcdModule::drawNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse)
{
    return drawBaseNumber(kLarge, x, y, value, 10, width, fill, reverse);
}

int ST7567LcdModule::drawHexNumber8x16(int x, int y, unsigned short value, int width, char fill, bool reverse)
{
    return drawBaseNumber(kLarge, x, y, value, 16, width, fill, reverse);
}

int ST7567LcdModule::drawNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse)
{
    return drawBaseNumber(kSmall, x, y, value, 10, width, fill, reverse);
}

int ST7567LcdModule::drawHexNumber6x12(int x, int y, unsigned short value, int width, char fill, bool reverse)
{
    return drawBaseNumber(kSmall, x, y, value, 16, width, fill, reverse);
}

int ST7567LcdModule::drawFloat(FontSize size, int x, int y, double value, int width, char fill, int decimals,
                               bool reverse)
{
    // Negative values carry a minus sign and the integer part may use 32
    // bits: a temperature below zero or a large energy must not wrap.
    bool negative = value < 0;
    double magnitude = std::isfinite(value) ? std::min(std::fabs(value), double{UINT32_MAX}) : 0.0;
    int point = size == kLarge ? 8 : 6;
    if (decimals < 1)
    {
        uint64_t whole = static_cast<uint64_t>(magnitude);
        return drawCharacters(size, x, y, numberText(whole, 10, width, fill, negative && whole > 0), reverse);
    }
    decimals = std::min(decimals, kMaxDecimals);
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // Rounded half up at the last decimal shown, carrying into the integer part.
    uint64_t scaled = static_cast<uint64_t>(std::floor(magnitude * static_cast<double>(scale) + 0.5));
    uint64_t whole = std::min<uint64_t>(scaled / scale, UINT32_MAX);
    int w1 = drawCharacters(size, x, y, numberText(whole, 10, width, fill, negative && scaled > 0), reverse);
    drawAsciiChar(size, x + w1, y, '.', reverse);
    int w2 = drawCharacters(size, x + w1 + point, y, numberText(scaled % scale, 10, decimals, '0'), reverse);
    return static_cast<unsigned short>(w1 + point + w2);
}

int ST7567LcdModule::drawFloat8x16(int x, int y, double value, int width, char fill, int decimals, bool reverse)
{
    return drawFloat(kLarge, x, y, value, width, fill, decimals, reverse);
}

int ST7567LcdModule::drawFloat6x12(int x, int y, double value, int width, char fill, int decimals, bool reverse)
{
    return drawFloat(kSmall, x, y, value, width, fill, decimals, reverse);
}

unsigned short ST7567LcdModule::drawIp(FontSize size, int x, int y, unsigned int ip, bool zeroPad, bool reverse)
{
    int point = size == kLarge ? 8 : 6;
    int total = 0;
    for (int i = 0; i < 4; ++i)
    {
        unsigned short octet = static_cast<unsigned short>((ip >> (24 - 8 * i)) & 0xFF);
        int w = drawBaseNumber(size, x, y, octet, 10, 3, zeroPad ? '0' : ' ', reverse);
        x += w;
        total += w;
        if (i < 3)
        {
            drawAsciiChar(size, x, y, '.', reverse);
            x += point;
            total += point;
        }
    }
    return static_cast<unsigned short>(total);
}

unsigned short ST7567LcdModule::drawMac(FontSize size, int x, int y, const unsigned char* mac, char separator,
                                        bool reverse)
{
    if (!mac)
        return 0;
    int advance = size == kLarge ? 8 : 6;
    int total = 0;
    for (int i = 0; i < 6; ++i)
    {
        int w = drawBaseNumber(size, x, y, mac[i], 16, 2, '0', reverse);
        x += w;
        total += w;
        if (i < 5)
        {
            drawAsciiChar(size, x, y, separator, reverse);
            x += advance;
            total += advance;
        }
    }
    return static_cast<unsigned short>(total);
}

unsigned short ST7567LcdModule::drawIp8x16(int x, int y, unsigned int ip, bool zeroPad, bool reverse) { return drawIp(kLarge, x, y, ip, zeroPad, reverse); }
unsigned short ST7567LcdModule::drawIp6x12(int x, int y, unsigned int ip, bool zeroPad, bool reverse) { return drawIp(kSmall, x, y, ip, zeroPad, reverse); }
unsigned short ST7567LcdModule::drawMac8x16(int x, int y, const unsigned char* mac, char separator, bool reverse) { return drawMac(kLarge, x, y, mac, separator, reverse); }
unsigned short ST7567LcdModule::drawMac6x12(int x, int y, const unsigned char* mac, char separator, bool reverse) { return drawMac(kSmall, x, y, mac, separator, reverse); }
