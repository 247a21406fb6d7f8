#include "GlyphFileLayout.h"

namespace
{
constexpr int kGbRowSize = 94;
constexpr int kGbFirstByte = 0xA1;
}

bool GlyphFileLayout::select(const std::string& kind)
{
    struct Entry
    {
        const char* kind;
        int width, height, baseline, firstCode, count;
        bool hanzi;
    };
    static const Entry kLayouts[] = {
        {"asc16", 8, 16, 14, 0, 256, false},
        {"asc12", 6, 12, 10, 0x20, 256 - 0x20, false},
        {"hzk16s", 16, 16, 14, 0, kGbRowSize * kGbRowSize, true},
        {"hzk12", 12, 12, 10, 0, kGbRowSize * kGbRowSize, true},
    };
    for (const Entry& e : kLayouts)
    {
        if (kind == e.kind)
        {
            width_ = e.width;
            height_ = e.height;
            baseline_ = e.baseline;
            firstCode_ = e.firstCode;
            count_ = e.count;
            hanzi_ = e.hanzi;
            return true;
        }
    }
    return false;
}

uint32_t GlyphFileLayout::cellCode(int index) const
{
    if (!hanzi_)
        return static_cast<uint32_t>(firstCode_ + index);
    uint32_t b1 = static_cast<uint32_t>(kGbFirstByte + index / kGbRowSize);
    uint32_t b2 = static_cast<uint32_t>(kGbFirstByte + index % kGbRowSize);
    return b1 << 8 | b2;
}

void GlyphFileLayout::render(const BdfFont::Glyph& g, uint8_t* cell) const
{
    // Row 0 of the glyph's box lies yOffset + height - 1 rows above the baseline.
    int top = baseline_ - g.yOffset - g.height;
    for (int r = 0; r < g.height; ++r)
    {
        int row = top + r;
        if (row < 0 || row >= height_)
            continue;
        for (int c = 0; c < g.width; ++c)
        {
            int column = g.xOffset + c;
            if (column < 0 || column >= width_ || !g.bit(r, c))
                continue;
            cell[row * rowBytes() + column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
        }
    }
}
