// Characters, strings, numbers and addresses on the LCD, checked cell by
// cell against the glyph files installed on the board.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/LcdTestBench.h"
#include "ST7567LcdModule.h"
#include "support/LogCapture.h"

using lcdtest::Bench;
using lcdtest::litPixels;
using lcdtest::picture;
using lcdtest::showsGlyph;
using lcdtest::showsText;

namespace
{
LcdPanel shown(ST7567LcdModule& lcd, Bench& bench)
{
    lcd.refresh();
    return bench.panel();
}

// Dark pixels of the 16-row band from (x, y), w columns wide.
int glyphPixels(const LcdPanel& p, int x, int y, int w = 8)
{
    int lit = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < w; ++c)
            lit += p.pixel(x + c, y + r);
    return lit;
}

class LcdTextTest : public ::testing::Test
{
protected:
    LcdPanel shown() { return ::shown(lcd, bench); }

    Bench bench;
    ST7567LcdModule lcd;
    lcdtest::Font asc16 = lcdtest::font("asc16");
    lcdtest::Font asc12 = lcdtest::font("asc12");
    lcdtest::Font hzk16 = lcdtest::font("hzk16s");
    lcdtest::Font hzk12 = lcdtest::font("hzk12");
};
}

TEST_F(LcdTextTest, FontFilesHaveTheirLayouts)
{
    EXPECT_EQ(256u * 16, asc16.bytes.size());
    EXPECT_EQ(224u * 12, asc12.bytes.size());
    EXPECT_EQ(94u * 94 * 32, hzk16.bytes.size());
    EXPECT_EQ(94u * 94 * 24, hzk12.bytes.size());
    // 'A' of the large font: a peak on top, a bar across, two legs.
    int lit = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 8; ++c)
            lit += asc16.bit('A', r, c);
    EXPECT_GT(lit, 15);
    // Columns 6 and 7 of the small font's rows are never used.
    for (size_t at = 0; at < asc12.bytes.size(); ++at)
        ASSERT_EQ(0, asc12.bytes[at] & 0x03) << at;
    // GB2312 D6D0 (the character for "middle") has a full-height stroke in column 7 or 8.
    size_t zhong = hzk16.gb(0xD6, 0xD0);
    int stroke = 0;
    for (int r = 0; r < 16; ++r)
        stroke += hzk16.bit(zhong, r, 7) || hzk16.bit(zhong, r, 8);
    EXPECT_GE(stroke, 14);
}

TEST_F(LcdTextTest, CharacterCellIsOverwrittenAndClipped)
{
    lcd.fillRect(0, 0, 128, 64);
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(0, 0, 'A', false));
    EXPECT_EQ(5, lcd.drawAsciiChar8x16(-3, 20, 'A', false));
    EXPECT_EQ(0, lcd.drawAsciiChar8x16(128, 0, 'A', false));
    EXPECT_EQ(0, lcd.drawAsciiChar8x16(0, -16, 'A', false));
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(20, 4, 'g', true));
    EXPECT_EQ(6, lcd.drawAsciiChar6x12(40, 0, 'x', false));
    EXPECT_EQ(3, lcd.drawAsciiChar6x12(-3, 40, 'Q', false));
    LcdPanel p = shown();
    EXPECT_TRUE(showsGlyph(p, 0, 0, asc16, 'A'));
    EXPECT_TRUE(showsGlyph(p, -3, 20, asc16, 'A'));
    EXPECT_TRUE(showsGlyph(p, 20, 4, asc16, 'g', true));
    EXPECT_TRUE(p.pixel(20, 3)) << "the row above the shifted cell keeps its value";
    EXPECT_TRUE(showsGlyph(p, 40, 0, asc12, 'x' - 0x20));
    EXPECT_TRUE(showsGlyph(p, -3, 40, asc12, 'Q' - 0x20));
    EXPECT_TRUE(p.pixel(5, 20)) << "columns right of the clipped cell keep their value";
}

TEST_F(LcdTextTest, StringsWrapAtTheRightEdge)
{
    EXPECT_EQ(17 * 8, lcd.drawAsciiString8x16(0, 0, "ABCDEFGHIJKLMNOPQ", false));
    EXPECT_EQ(4 * 6, lcd.drawAsciiString6x12(0, 40, "1.5V", false));
    LcdPanel p = shown();
    EXPECT_TRUE(showsText(p, 0, 0, "ABCDEFGHIJKLMNOP", asc16));
    EXPECT_TRUE(showsText(p, 0, 16, "Q", asc16));
    EXPECT_TRUE(showsText(p, 0, 40, "1.5V", asc12));

    lcd.flush();
    // Past the last line nothing more is drawn.
    EXPECT_EQ(4 * 8, lcd.drawAsciiString8x16(96, 48, "abcdefghijk", false));
    p = shown();
    EXPECT_TRUE(showsText(p, 96, 48, "abcd", asc16));
    EXPECT_EQ(glyphPixels(p, 96, 48, 32), litPixels(p)) << "nothing beyond the last line";
}

TEST_F(LcdTextTest, HanziStringsInBothSizes)
{
    const char text[] = "\xD6\xD0\xCE\xC4";  // two characters: "Chinese (language)"
    EXPECT_EQ(32, lcd.drawHanziString16x16(0, 0, text, false));
    EXPECT_EQ(24, lcd.drawHanziString12x12(0, 20, text, false));
    EXPECT_EQ(16, lcd.drawHanziString16x16(-8, 40, "\xD6\xD0", false)) << "the large font always advances 16";
    EXPECT_EQ(12, lcd.drawHanzi12x12(64, 40, "\xCE\xC4", true));
    LcdPanel p = shown();
    EXPECT_TRUE(showsGlyph(p, 0, 0, hzk16, hzk16.gb(0xD6, 0xD0)));
    EXPECT_TRUE(showsGlyph(p, 16, 0, hzk16, hzk16.gb(0xCE, 0xC4)));
    EXPECT_TRUE(showsGlyph(p, 0, 20, hzk12, hzk12.gb(0xD6, 0xD0)));
    EXPECT_TRUE(showsGlyph(p, 12, 20, hzk12, hzk12.gb(0xCE, 0xC4)));
    EXPECT_TRUE(showsGlyph(p, -8, 40, hzk16, hzk16.gb(0xD6, 0xD0)));
    EXPECT_TRUE(showsGlyph(p, 64, 40, hzk12, hzk12.gb(0xCE, 0xC4), true));

    lcd.flush();
    // 9 characters of 16 pixels: 8 on the first line, the 9th at (0, 16).
    std::string nine;
    for (int i = 0; i < 9; ++i)
        nine += "\xB0\xA1";
    EXPECT_EQ(9 * 16, lcd.drawHanziString16x16(0, 0, nine.c_str(), false));
    p = shown();
    EXPECT_TRUE(showsGlyph(p, 112, 0, hzk16, hzk16.gb(0xB0, 0xA1)));
    EXPECT_TRUE(showsGlyph(p, 0, 16, hzk16, hzk16.gb(0xB0, 0xA1)));
}

TEST_F(LcdTextTest, CodesWithoutAGlyphDrawABlankCell)
{
    lcd.fillRect(0, 0, 128, 64);
    EXPECT_EQ(6, lcd.drawAsciiChar6x12(0, 0, '\x10', false));       // below the small font's first code
    EXPECT_EQ(16, lcd.drawHanziString16x16(8, 0, "\x41\xA1", false));  // lead byte below 0xA1
    EXPECT_EQ(12, lcd.drawHanzi12x12(30, 0, "\xFF\xFF", false));     // beyond the table
    EXPECT_EQ(16, lcd.drawHanziString16x16(50, 0, "\xD6", false));     // a lone lead byte ends the text
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(70, 0, '\xFF', true));        // codes are unsigned
    LcdPanel p = shown();
    EXPECT_EQ("......\n", picture(p, 0, 5, 6, 1));
    for (int x : {0, 8, 30, 50})
        for (int y = 0; y < 12; ++y)
            ASSERT_FALSE(p.pixel(x + 2, y)) << x << "," << y;
    EXPECT_TRUE(showsGlyph(p, 70, 0, asc16, 0xFF, true));
}

TEST_F(LcdTextTest, NumbersPadAndNeverCut)
{
    EXPECT_EQ(24, lcd.drawNumber8x16(0, 0, 5, 3, '0', false));
    EXPECT_EQ(40, lcd.drawNumber8x16(32, 0, 12345, 3, ' ', false));
    EXPECT_EQ(32, lcd.drawHexNumber8x16(80, 0, 255, 4, '0', false));
    EXPECT_EQ(6 * 10, lcd.drawNumber6x12(0, 20, 7, 12, '*', false)) << "padding stops at 10 characters";
    EXPECT_EQ(12, lcd.drawHexNumber6x12(70, 20, 0xAB, 0, ' ', false));
    EXPECT_EQ(6, lcd.drawNumber6x12(90, 20, 0, 0, ' ', false));
    EXPECT_EQ(16, lcd.drawBaseNumber8x16(0, 40, 3, 2, 0, ' ', false));
    EXPECT_EQ(0, lcd.drawBaseNumber8x16(0, 40, 3, 1, 0, ' ', false)) << "no such base";
    EXPECT_EQ(40, lcd.drawNumber8x16(112, 48, 65535, 0, ' ', false)) << "the rest falls below the screen";
    LcdPanel p = shown();
    EXPECT_TRUE(showsText(p, 0, 0, "005", asc16));
    EXPECT_TRUE(showsText(p, 32, 0, "12345", asc16));
    EXPECT_TRUE(showsText(p, 80, 0, "00FF", asc16));
    EXPECT_TRUE(showsText(p, 0, 20, "*********7", asc12));
    EXPECT_TRUE(showsText(p, 70, 20, "AB", asc12));
    EXPECT_TRUE(showsText(p, 90, 20, "0", asc12));
    EXPECT_TRUE(showsText(p, 0, 40, "11", asc16));
    EXPECT_TRUE(showsText(p, 112, 48, "6", asc16));
}

TEST_F(LcdTextTest, FloatsRoundHalfUpWithCarry)
{
    struct Case
    {
        double value;
        int width;
        char fill;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {12.5, 0, ' ', 1, "12.5"},   {12.5, 0, ' ', 0, "12"},      {230.96, 0, ' ', 1, "231.0"},
        {0.96, 0, ' ', 1, "1.0"},     {1.25, 0, ' ', 1, "1.3"},      {3.14159, 3, ' ', 2, "  3.14"},
        {0.05, 2, '0', 2, "00.05"},  {-5.3, 0, ' ', 1, "-5.3"},     {-5.3, 4, '0', 1, "-005.3"},
        {-0.04, 0, ' ', 1, "0.0"},   {70000.5, 0, ' ', 1, "70000.5"}, {1.5, 0, ' ', 3, "1.500"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        lcd.flush();
        int w = static_cast<int>(std::string(c.text).size());
        EXPECT_EQ(8 * w, lcd.drawFloat8x16(0, 0, c.value, c.width, c.fill, c.decimals, false));
        EXPECT_EQ(6 * w, lcd.drawFloat6x12(0, 30, c.value, c.width, c.fill, c.decimals, false));
        LcdPanel p = shown();
        EXPECT_TRUE(showsText(p, 0, 0, c.text, asc16));
        EXPECT_TRUE(showsText(p, 0, 30, c.text, asc12));
    }
}

TEST_F(LcdTextTest, Ipv4AndMacAddresses)
{
    unsigned int ip = 192u << 24 | 168u << 16 | 0u << 8 | 1u;
    EXPECT_EQ(120, lcd.drawIp8x16(0, 0, ip, true, false));
    EXPECT_EQ(120, lcd.drawIp8x16(0, 16, ip, false, false));
    EXPECT_EQ(90, lcd.drawIp6x12(0, 32, 0x0A000002, false, true));
    LcdPanel p = shown();
    EXPECT_TRUE(showsText(p, 0, 0, "192.168.000.001", asc16));
    EXPECT_TRUE(showsText(p, 0, 16, "192.168.  0.  1", asc16));
    EXPECT_TRUE(showsText(p, 0, 32, " 10.  0.  0.  2", asc12, true));

    lcd.flush();
    const unsigned char mac[6] = {0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0xEF};
    EXPECT_EQ(102, lcd.drawMac6x12(0, 0, mac, ':', false));
    EXPECT_EQ(136, lcd.drawMac8x16(0, 16, mac, '-', false));
    p = shown();
    EXPECT_TRUE(showsText(p, 0, 0, "00:1A:2B:C3:D4:EF", asc12));
    EXPECT_TRUE(showsText(p, 0, 16, "00-1A-2B-C3-D4-E", asc16));
    EXPECT_TRUE(showsText(p, 0, 32, "F", asc16)) << "the last digit wraps onto the next line";
}

TEST(LcdFontFilesTest, ShortOrMissingFontsAreSafe)
{
    Bench bench;
    // The large ASCII font cut inside the cell of code 64; no small fonts.
    std::vector<unsigned char> cut = lcdtest::readFile(test::buildPath("fonts/asc16"));
    cut.resize(64 * 16 + 5);
    std::ofstream(board::path("/usr/app/asc16"), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(cut.data()), static_cast<std::streamsize>(cut.size()));
    std::filesystem::remove(board::path("/usr/app/asc12"));
    std::filesystem::remove(board::path("/usr/app/hzk12"));
    test::LogCapture log;
    ST7567LcdModule lcd;
    EXPECT_EQ(2, log.count("Failed in open font file:"));
    EXPECT_TRUE(log.contains("/usr/app/asc12 No such file or directory"));
    EXPECT_TRUE(log.contains("/usr/app/hzk12"));

    lcd.fillRect(0, 0, 128, 64);
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(0, 0, '0', false));
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(8, 0, '@', false));  // cell 64 is not whole: blank
    EXPECT_EQ(8, lcd.drawAsciiChar8x16(16, 0, 'A', false));  // past the end: blank
    EXPECT_EQ(0, lcd.drawAsciiChar6x12(0, 20, 'A', false));
    EXPECT_EQ(0, lcd.drawAsciiString6x12(0, 20, "AB", false));
    EXPECT_EQ(0, lcd.drawHanziString12x12(0, 40, "\xD6\xD0", false));
    EXPECT_EQ(12, lcd.drawNumber6x12(0, 40, 42, 0, ' ', false)) << "numbers keep their advance";
    LcdPanel p = shown(lcd, bench);
    EXPECT_TRUE(showsGlyph(p, 0, 0, lcdtest::font("asc16"), '0'));
    EXPECT_EQ(std::string(16, '.') + "\n", picture(p, 8, 0, 16, 16).substr(0, 17));
    // Only the '0' cell and the two blank cells changed the filled screen.
    EXPECT_EQ(128 * 64 - 16 * 16 - (8 * 16 - glyphPixels(p, 0, 0)), litPixels(p));
}
