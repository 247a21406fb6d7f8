// Fonts, characters and strings of ST7567LcdModule.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "ST7567LcdModule.h"
#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

const char* const ST7567LcdModule::k8x16AsciiFileName = "/usr/app/asc16";
const char* const ST7567LcdModule::k16x16HanziFileName = "/usr/app/hzk16s";
const char* const ST7567LcdModule::k6x12AsciiFileName = "/usr/app/asc12";
const char* const ST7567LcdModule::k12x12HanziFileName = "/usr/app/hzk12";

namespace
{
// The largest of the four files is under 300 KiB; anything far beyond is not a font.
constexpr off_t kMaxFontBytes = 4 << 20;
constexpr int kGbRowSize = 94;
constexpr unsigned char kGbFirst = 0xA1;
constexpr unsigned char kGbLast = 0xFE;

// Glyph index of a GB2312 code, or -1 when either byte lies outside A1 to FE.
long gbIndex(const char* code)
{
    unsigned char b1 = static_cast<unsigned char>(code[0]);
    unsigned char b2 = b1 ? static_cast<unsigned char>(code[1]) : 0;
    if (b1 < kGbFirst || b1 > kGbLast || b2 < kGbFirst || b2 > kGbLast)
        return -1;
    return (b1 - kGbFirst) * kGbRowSize + (b2 - kGbFirst);
}
}

bool ST7567LcdModule::loadFontFile(const char* path, std::vector<unsigned char>& out)
{
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    off_t size = ::lseek(fd, 0, SEEK_END);
    size = std::min(std::max<off_t>(size, 0), kMaxFontBytes);
    out.clear();
    out.reserve(static_cast<size_t>(size));
    ::lseek(fd, 0, SEEK_SET);
    unsigned char chunk[1024];
    while (static_cast<off_t>(out.size()) < size)
    {
        size_t want = std::min(sizeof chunk, static_cast<size_t>(size) - out.size());
        ssize_t n = ::read(fd, chunk, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.insert(out.end(), chunk, chunk + n);
    }
    ::close(fd);
    return true;
}

void ST7567LcdModule::loadFont(const char* name, LcdFont& font)
{
    std::string path = board::path(name);
    if (!loadFontFile(path.c_str(), font.bytes()))
        LOG_ERROR << "Failed in open font file:" << path << " " << muduo::strerror_tl(errno);
}

int ST7567LcdModule::drawGlyph(int x, int y, const LcdFont& font, const unsigned char* glyph, bool reverse)
{
    int w = font.width(), h = font.height();
    if (font.empty() || x < -(w - 1) || x >= kWidth || y < -(h - 1) || y >= kHeight)
        return 0;
    // A code the font holds no glyph for draws a blank cell.
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c)
            setPixel(x + c, y + r, font.bit(glyph, r, c) != reverse);
    return x < 0 ? w + x : w;
}

int ST7567LcdModule::drawAsciiChar(FontSize size, int x, int y, char c, bool reverse)
{
    unsigned char code = static_cast<unsigned char>(c);
    if (size == kLarge)
        return drawGlyph(x, y, ascii16_, ascii16_.glyph(code), reverse);
    // The small font's file begins with the space.
    return drawGlyph(x, y, ascii12_, code >= 0x20 ? ascii12_.glyph(code - 0x20u) : nullptr, reverse);
}

int ST7567LcdModule::drawHanzi(FontSize size, int x, int y, const char* code, bool reverse)
{
    const LcdFont& font = size == kLarge ? hanzi16_ : hanzi12_;
    long index = code ? gbIndex(code) : -1;
    return drawGlyph(x, y, font, index < 0 ? nullptr : font.glyph(static_cast<size_t>(index)), reverse);
}

int ST7567LcdModule::drawAsciiChar8x16(int x, int y, char c, bool reverse) { return drawAsciiChar(kLarge, x, y, c, reverse); }
int ST7567LcdModule::drawAsciiChar6x12(int x, int y, char c, bool reverse) { return drawAsciiChar(kSmall, x, y, c, reverse); }
int ST7567LcdModule::drawHanzi16x16(int x, int y, const char* code, bool reverse) { return drawHanzi(kLarge, x, y, code, reverse); }
int ST7567LcdModule::drawHanzi12x12(int x, int y, const char* code, bool reverse) { return drawHanzi(kSmall, x, y, code, reverse); }

bool ST7567LcdModule::advance(FontSize size, int w, int& x, int& y, unsigned short& total)
{
    x += w;
    total = static_cast<unsigned short>(total + w);
    if (x < kWidth)
        return true;
    y += size == kLarge ? 16 : 12;
    x = 0;
    return y < kHeight;
}

unsigned short ST7567LcdModule::drawAsciiString(FontSize size, int x, int y, const char* text, bool reverse)
{
    unsigned short total = 0;
    for (const char* p = text; p && *p; ++p)
        if (!advance(size, drawAsciiChar(size, x, y, *p, reverse), x, y, total))
            break;
    return total;
}

unsigned short ST7567LcdModule::drawHanziString(FontSize size, int x, int y, const char* text, bool reverse)
{
    unsigned short total = 0;
    for (const char* p = text; p && p[0]; p += 2)
    {
        int w = drawHanzi(size, x, y, p, reverse);
        if (size == kLarge)
            w = 16;  // the large font always advances a full cell
        if (!advance(size, w, x, y, total))
            break;
        if (!p[1])
            break;  // a lone lead byte ends the text: its cell was drawn blank
    }
    return total;
}

unsigned short ST7567LcdModule::drawAsciiString8x16(int x, int y, const char* text, bool reverse) { return drawAsciiString(kLarge, x, y, text, reverse); }
unsigned short ST7567LcdModule::drawAsciiString6x12(int x, int y, const char* text, bool reverse) { return drawAsciiString(kSmall, x, y, text, reverse); }
unsigned short ST7567LcdModule::drawHanziString16x16(int x, int y, const char* text, bool reverse) { return drawHanziString(kLarge, x, y, text, reverse); }
unsigned short ST7567LcdModule::drawHanziString12x12(int x, int y, const char* text, bool reverse) { return drawHanziString(kSmall, x, y, text, reverse); }
