#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "BdfFont.h"

// One of the LCD's four glyph files: fixed cells, one after another, each row
// of a cell in whole bytes with bit 7 leftmost.
class GlyphFileLayout
{
public:
    // kind: asc16, asc12, hzk16s or hzk12; false for an unknown kind.
    bool select(const std::string& kind);

    int glyphCount() const { return count_; }
    size_t cellBytes() const { return static_cast<size_t>(rowBytes() * height_); }
    // The source font's encoding of cell i: Latin-1 codes for the ASCII
    // files; for the GB2312 files the two-byte code, returned as b1 << 8 | b2.
    uint32_t cellCode(int index) const;
    bool hanzi() const { return hanzi_; }
    // Draws glyph g into the cell, its baseline at the layout's baseline row.
    void render(const BdfFont::Glyph& g, uint8_t* cell) const;

private:
    int rowBytes() const { return (width_ + 7) / 8; }

    int width_ = 0;
    int height_ = 0;
    int baseline_ = 0;  // rows of the cell above the baseline
    int firstCode_ = 0;
    int count_ = 0;
    bool hanzi_ = false;
};
