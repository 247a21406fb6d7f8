// Writes one of the LCD's glyph files from a BDF font:
//   fontgen <asc16|asc12|hzk16s|hzk12> <gb2312|unicode> <font.bdf> <output>
// The charset names how the BDF font numbers its glyphs: "gb2312" for fonts
// encoded in GB2312 row/cell form (0x2121 to 0x7E7E), "unicode" for ISO10646
// fonts (the GB2312 codes are converted with iconv). Codes the source font
// lacks stay blank cells.
#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "BdfFont.h"
#include "GlyphFileLayout.h"

namespace
{
// The source font's encoding of a code from the layout; false when none.
bool sourceEncoding(const GlyphFileLayout& layout, uint32_t code, bool unicode, iconv_t cd, uint32_t& out)
{
    if (!layout.hanzi())
    {
        out = code;  // Latin-1 and ISO10646 agree below 256
        return true;
    }
    if (!unicode)
    {
        out = code & 0x7F7F;
        return true;
    }
    char in[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    unsigned char ucs[4] = {0, 0, 0, 0};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(ucs);
    size_t inLeft = sizeof in, outLeft = sizeof ucs;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || outLeft != 0)
        return false;
    out = static_cast<uint32_t>(ucs[0]) << 24 | static_cast<uint32_t>(ucs[1]) << 16 |
          static_cast<uint32_t>(ucs[2]) << 8 | ucs[3];
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf(stderr, "usage: fontgen <asc16|asc12|hzk16s|hzk12> <gb2312|unicode> <font.bdf> <output>\n");
        return 2;
    }
    GlyphFileLayout layout;
    std::string charset = argv[2];
    if (!layout.select(argv[1]) || (charset != "gb2312" && charset != "unicode"))
    {
        std::fprintf(stderr, "fontgen: unknown kind %s or charset %s\n", argv[1], argv[2]);
        return 2;
    }
    BdfFont font;
    if (!font.load(argv[3]))
    {
        std::fprintf(stderr, "fontgen: %s\n", font.error().c_str());
        return 1;
    }
    iconv_t cd = iconv_open("UCS-4BE", "GB2312");
    if (cd == reinterpret_cast<iconv_t>(-1))
    {
        std::perror("fontgen: iconv_open GB2312");
        return 1;
    }
    std::vector<uint8_t> out(layout.cellBytes() * static_cast<size_t>(layout.glyphCount()), 0);
    int found = 0;
    for (int i = 0; i < layout.glyphCount(); ++i)
    {
        uint32_t encoding = 0;
        if (!sourceEncoding(layout, layout.cellCode(i), charset == "unicode", cd, encoding))
            continue;
        if (const BdfFont::Glyph* g = font.find(encoding))
        {
            layout.render(*g, out.data() + layout.cellBytes() * static_cast<size_t>(i));
            ++found;
        }
    }
    iconv_close(cd);
    if (found == 0)
    {
        std::fprintf(stderr, "fontgen: no glyph of %s found in %s\n", argv[1], argv[3]);
        return 1;
    }
    std::ofstream file(argv[4], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file.flush())
    {
        std::fprintf(stderr, "fontgen: cannot write %s\n", argv[4]);
        return 1;
    }
    std::printf("fontgen: %s: %d of %d glyphs from %s\n", argv[1], found, layout.glyphCount(), argv[3]);
    return 0;
}
