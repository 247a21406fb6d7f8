#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The glyphs of one BDF bitmap font, by encoding.
class BdfFont
{
public:
    struct Glyph
    {
        int width = 0;
        int height = 0;
        int xOffset = 0;
        int yOffset = 0;
        std::vector<std::vector<uint8_t>> rows;  // top row first, bit 7 leftmost

        bool bit(int row, int column) const;
    };

    // False with a reason in error() when the file cannot be read or parsed.
    bool load(const std::string& path);
    const std::string& error() const { return error_; }
    const Glyph* find(uint32_t encoding) const;
    size_t size() const { return glyphs_.size(); }

private:
    bool fail(const std::string& why, int line);

    std::map<uint32_t, Glyph> glyphs_;
    std::string error_;
};
