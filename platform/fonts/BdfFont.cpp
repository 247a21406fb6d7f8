#include "BdfFont.h"

#include <fstream>
#include <sstream>

bool BdfFont::Glyph::bit(int row, int column) const
{
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column >= width)
        return false;
    const std::vector<uint8_t>& r = rows[static_cast<size_t>(row)];
    size_t byte = static_cast<size_t>(column / 8);
    return byte < r.size() && (r[byte] & (0x80 >> (column % 8))) != 0;
}

bool BdfFont::fail(const std::string& why, int line)
{
    error_ = why + " at line " + std::to_string(line);
    return false;
}

namespace
{
bool parseHexRow(const std::string& text, std::vector<uint8_t>& out)
{
    out.clear();
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2)
    {
        unsigned value = 0;
        std::istringstream in(text.substr(i, 2));
        if (!(in >> std::hex >> value))
            return false;
        out.push_back(static_cast<uint8_t>(value));
    }
    return true;
}
}

bool BdfFont::load(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
    {
        error_ = "cannot open " + path;
        return false;
    }
    std::string line;
    int lineNo = 0;
    long encoding = -1;
    Glyph glyph;
    bool inBitmap = false;
    while (std::getline(in, line))
    {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (inBitmap)
        {
            if (key == "ENDCHAR")
            {
                inBitmap = false;
                if (encoding >= 0)
                    glyphs_[static_cast<uint32_t>(encoding)] = glyph;
                continue;
            }
            std::vector<uint8_t> row;
            if (!parseHexRow(key, row))
                return fail("bad bitmap row", lineNo);
            glyph.rows.push_back(row);
        }
        else if (key == "STARTCHAR")
        {
            glyph = Glyph();
            encoding = -1;
        }
        else if (key == "ENCODING")
        {
            if (!(words >> encoding))
                return fail("bad ENCODING", lineNo);
        }
        else if (key == "BBX")
        {
            if (!(words >> glyph.width >> glyph.height >> glyph.xOffset >> glyph.yOffset) || glyph.width < 0 ||
                glyph.height < 0)
                return fail("bad BBX", lineNo);
        }
        else if (key == "BITMAP")
        {
            inBitmap = true;
        }
    }
    if (inBitmap)
        return fail("unterminated glyph", lineNo);
    if (glyphs_.empty())
    {
        error_ = "no glyphs in " + path;
        return false;
    }
    return true;
}

const BdfFont::Glyph* BdfFont::find(uint32_t encoding) const
{
    auto it = glyphs_.find(encoding);
    return it == glyphs_.end() ? nullptr : &it->second;
}
