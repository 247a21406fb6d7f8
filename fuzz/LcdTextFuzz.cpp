// The LCD driver's text, number and shape operations with arbitrary
// coordinates and strings, over fonts that are partly short or missing:
// nothing may be read outside a font or written outside the frame buffer.
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
void writeFont(const std::string& path, size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ST7567LcdModule* makeLcd()
{
    const std::string root = fuzz::useBoardRoot();
    fuzz::makeBoardDir("/dev");
    fuzz::makeBoardDir("/usr/app");
    std::ofstream(root + "/dev/lcd");
    writeFont(root + "/usr/app/asc16", 100 * 16 + 3);  // codes from 100 on have no glyph
    writeFont(root + "/usr/app/hzk16s", 94 * 94 * 32);
    writeFont(root + "/usr/app/asc12", 224 * 12);
    writeFont(root + "/usr/app/hzk12", 1000 * 24 + 7);
    muduo::Logger::setLogLevel(muduo::Logger::FATAL);
    return new ST7567LcdModule;  // kept for the whole run; never refreshed
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
    static ST7567LcdModule* lcd = makeLcd();
    if (size < 1)
        return 0;
    uint8_t op = data[0];
    ++data;
    --size;
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
