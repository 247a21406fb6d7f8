// The LCD driver's text, number and shape operations with arbitrary
// coordinates and strings, over font files of any length and content (or
// missing), loaded afresh for every input: nothing may be read outside a
// font or written outside the frame buffer.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FuzzBoard.h"
#include "ST7567LcdModule.h"
#include "muduo/base/Logging.h"

namespace
{
struct Font
{
    const char* file;
    size_t fullLength;  // a glyph for every code the font is read with
};
const Font kFonts[] = {{ST7567LcdModule::k8x16AsciiFileName, 256 * 16},
                       {ST7567LcdModule::k16x16HanziFileName, 94 * 94 * 32},
                       {ST7567LcdModule::k6x12AsciiFileName, 256 * 12},
                       {ST7567LcdModule::k12x12HanziFileName, 94 * 94 * 24}};

void prepareBoard()
{
    const std::string root = fuzz::useBoardRoot();
    fuzz::makeBoardDir("/dev");
    fuzz::makeBoardDir("/usr/app");
    std::ofstream(root + "/dev/lcd");
    muduo::Logger::setLogLevel(muduo::Logger::FATAL);
}

uint8_t take8(const uint8_t*& data, size_t& size)
{
    uint8_t v = 0;
    if (size >= 1)
    {
        v = data[0];
        ++data;
        --size;
    }
    return v;
}

// Each font from the input: two bytes of length, either up to 32767 or
// (top bit set) the full length plus a signed step, then a pattern length
// and that many bytes, repeated to the length. No pattern and no length: no
// file at all.
void writeFonts(const uint8_t*& data, size_t& size)
{
    for (const Font& font : kFonts)
    {
        const uint8_t high = take8(data, size), low = take8(data, size);
        const long step = static_cast<int8_t>(low);
        const size_t length = high & 0x80 ? static_cast<size_t>(std::max(0L, static_cast<long>(font.fullLength) + step))
                                          : static_cast<size_t>((high & 0x7F) << 8 | low);
        const size_t pattern = std::min<size_t>(take8(data, size), size);
        const std::string path = board::path(font.file);
        if (length == 0 && pattern == 0)
        {
            std::remove(path.c_str());
            continue;
        }
        std::string bytes(length, '\0');
        for (size_t i = 0; pattern > 0 && i < length; ++i)
            bytes[i] = static_cast<char>(data[i % pattern]);
        data += pattern;
        size -= pattern;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
}

// Any bit pattern, NaN and infinities included.
double asDouble(const std::string& text)
{
    double d = 0;
    if (text.size() >= sizeof d)
        std::memcpy(&d, text.data(), sizeof d);
    return d;
}

int16_t take16(const uint8_t*& data, size_t& size)
{
    int16_t v = 0;
    if (size >= 2)
    {
        v = static_cast<int16_t>(data[0] | data[1] << 8);
        data += 2;
        size -= 2;
    }
    return v;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = (prepareBoard(), true);
    (void)prepared;
    if (size < 1)
        return 0;
    uint8_t op = data[0];
    ++data;
    --size;
    writeFonts(data, size);
    const std::unique_ptr<ST7567LcdModule> lcd(new ST7567LcdModule);
    int x = take16(data, size) % 200;
    int y = take16(data, size) % 100;
    int a = take16(data, size);
    int b = take16(data, size);
    bool reverse = op & 0x80;
    std::string text(reinterpret_cast<const char*>(data), size);  // may hold zeros: drawn up to the first
    const char* s = text.c_str();
    switch (op & 0x1F)
    {
    case 0: lcd->drawAsciiString8x16(x, y, s, reverse); break;
    case 1: lcd->drawAsciiString6x12(x, y, s, reverse); break;
    case 2: lcd->drawHanziString16x16(x, y, s, reverse); break;
    case 3: lcd->drawHanziString12x12(x, y, s, reverse); break;
    case 4: lcd->drawAsciiChar8x16(x, y, static_cast<char>(a), reverse); break;
    case 5: lcd->drawAsciiChar6x12(x, y, static_cast<char>(a), reverse); break;
    case 6: lcd->drawHanzi16x16(x, y, s, reverse); break;
    case 7: lcd->drawHanzi12x12(x, y, s, reverse); break;
    case 8:
        lcd->drawBaseNumber8x16(x, y, static_cast<unsigned short>(a), b, a >> 8, static_cast<char>(b), reverse);
        break;
    case 9: lcd->drawFloat6x12(x, y, a / 7.0 * b, b % 13, '0', a % 12, reverse); break;
    case 10: lcd->drawFloat8x16(x, y, asDouble(text), a, ' ', b, reverse); break;
    case 11: lcd->drawIp6x12(x, y, static_cast<unsigned>(a) << 16 | static_cast<uint16_t>(b), reverse, !reverse); break;
    case 12:
        if (text.size() >= 6)
            lcd->drawMac8x16(x, y, reinterpret_cast<const unsigned char*>(s), static_cast<char>(a), reverse);
        break;
    case 13: lcd->drawRect(x, y, a, b, reverse); break;
    case 14: lcd->fillRect(x, y, a, b); break;
    case 15: lcd->clearRect(x, y, a, b); break;
    case 16: if (lcd->createRegion(x, y, a, b) && reverse) lcd->destroyRegion(); break;
    case 17: lcd->destroyRegion(); break;
    case 18: lcd->drawQrcode(x, y, s, reverse); break;
    case 19:
    {
        _PICTURE pic{a % 64, b % 64, reinterpret_cast<const unsigned char*>(s)};
        bool fits = pic.width >= 0 && pic.height >= 0 &&
                    static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height / 8) <= text.size();
        if (fits)
            lcd->drawPicture(x, y, &pic, reverse);
        break;
    }
    default: lcd->drawDot(x, y, reverse); break;
    }
    while (lcd->destroyRegion() && (op & 0x40))
    {
    }
    return 0;
}
