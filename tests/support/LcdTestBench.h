#pragma once
// A board for the LCD driver's tests: /dev/lcd is a plain file that collects
// the driver's requests as records, read back through the panel stand-in,
// and the fonts generated in the build tree are installed under /usr/app.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "LcdPanel.h"
#include "LcdPngWriter.h"
#include "LcdRecordParser.h"
#include "platform/core/BoardRoot.h"
#include "support/LcdBoard.h"
#include "support/TempBoard.h"

namespace lcdtest
{
// A glyph file as the tests read it, to know what a cell must show.
struct Font
{
    std::vector<unsigned char> bytes;
    int width = 0;
    int height = 0;
    size_t first = 0;  // code of the file's first cell

    int rowBytes() const { return (width + 7) / 8; }
    bool bit(size_t index, int row, int column) const
    {
        size_t at = index * static_cast<size_t>(rowBytes() * height) + static_cast<size_t>(row * rowBytes() + column / 8);
        return at < bytes.size() && (bytes[at] & (0x80 >> (column % 8)));
    }
    size_t gb(unsigned char b1, unsigned char b2) const { return static_cast<size_t>((b1 - 0xA1) * 94 + (b2 - 0xA1)); }
};

inline std::vector<unsigned char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Font font(const std::string& name)
{
    Font f;
    f.bytes = readFile(test::buildPath("fonts/" + name));
    bool small = name == "asc12" || name == "hzk12";
    bool hanzi = name[0] == 'h';
    f.height = small ? 12 : 16;
    f.width = hanzi ? f.height : (small ? 6 : 8);
    f.first = name == "asc12" ? 0x20 : 0;
    return f;
}

// The panel after every request recorded in a stand-in device file.
inline LcdPanel panelOf(const std::string& deviceFile)
{
    LcdPanel p;
    std::vector<unsigned char> bytes = readFile(deviceFile);
    LcdRecordParser parser([&p](const LcdRecord& r) { p.apply(r); });
    parser.feed(bytes.data(), bytes.size());
    return p;
}

// Keeps a picture of the panel as a test artefact: build/test-artifacts/<name>.png.
inline void savePng(const LcdPanel& p, const std::string& name)
{
    const std::string path = test::buildPath("test-artifacts/" + name + ".png");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::string error;
    EXPECT_TRUE(LcdPngWriter::write(p, path, 2, &error)) << error;
}

class Bench
{
public:
    Bench() { test::prepareLcdBoard(); }

    // Every record the driver left since the last mark().
    std::vector<LcdRecord> records() const
    {
        std::vector<LcdRecord> out;
        std::vector<unsigned char> bytes = readFile(board::path("/dev/lcd"));
        LcdRecordParser parser([&out](const LcdRecord& r) { out.push_back(r); });
        parser.feed(bytes.data(), bytes.size());
        EXPECT_EQ(0u, parser.skippedBytes());
        out.erase(out.begin(), out.begin() + static_cast<long>(std::min(mark_, out.size())));
        return out;
    }
    void mark() { mark_ += records().size(); }

    // The panel after every request so far.
    LcdPanel panel() const { return panelOf(board::path("/dev/lcd")); }

private:
    size_t mark_ = 0;
};

// The panel's pixels of a rectangle as rows of '#' and '.', for messages.
inline std::string picture(const LcdPanel& p, int x, int y, int w, int h)
{
    std::string out;
    for (int r = 0; r < h; ++r)
    {
        for (int c = 0; c < w; ++c)
            out += p.pixel(x + c, y + r) ? '#' : '.';
        out += '\n';
    }
    return out;
}

// The cell at (x, y) shows glyph index of the font (inverted when reverse),
// as far as it lies on the screen.
inline ::testing::AssertionResult showsGlyph(const LcdPanel& p, int x, int y, const Font& f, size_t index,
                                             bool reverse = false)
{
    for (int r = 0; r < f.height; ++r)
        for (int c = 0; c < f.width; ++c)
        {
            int px = x + c, py = y + r;
            if (px < 0 || px > 127 || py < 0 || py > 63)
                continue;
            if (p.pixel(px, py) != (f.bit(index, r, c) != reverse))
                return ::testing::AssertionFailure() << "cell at " << x << "," << y << " differs at column " << c
                                                     << " row " << r << ":\n"
                                                     << picture(p, x, y, f.width, f.height);
        }
    return ::testing::AssertionSuccess();
}

// The text's characters stand in cells of the font's width from (x, y).
inline ::testing::AssertionResult showsText(const LcdPanel& p, int x, int y, const std::string& text, const Font& f,
                                            bool reverse = false)
{
    for (size_t i = 0; i < text.size(); ++i)
    {
        auto result = showsGlyph(p, x + static_cast<int>(i) * f.width, y, f,
                                 static_cast<unsigned char>(text[i]) - f.first, reverse);
        if (!result)
            return result << "(character " << i << " '" << text[i] << "' of \"" << text << "\")";
    }
    return ::testing::AssertionSuccess();
}

inline int litPixels(const LcdPanel& p)
{
    int n = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x)
            n += p.pixel(x, y);
    return n;
}
}
