#pragma once
#include <cstddef>
#include <vector>

// One of the LCD's bitmap fonts as read from its file: fixed cells of
// height rows, each row in whole bytes with bit 7 leftmost. The file may be
// short or missing; a cell it does not hold whole has no glyph.
class LcdFont
{
public:
    LcdFont(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return bytes_.empty(); }
    std::vector<unsigned char>& bytes() { return bytes_; }

    // The cell at index, or nullptr when the loaded bytes do not hold it.
    const unsigned char* glyph(size_t index) const
    {
        size_t size = cellBytes();
        return index < bytes_.size() / size ? bytes_.data() + index * size : nullptr;
    }
    // Pixel (column, row) of a cell; a missing cell is blank.
    bool bit(const unsigned char* cell, int row, int column) const
    {
        return cell && (cell[static_cast<size_t>(row * rowBytes() + column / 8)] & (0x80 >> (column % 8))) != 0;
    }

private:
    int rowBytes() const { return (width_ + 7) / 8; }
    size_t cellBytes() const { return static_cast<size_t>(rowBytes() * height_); }

    int width_;
    int height_;
    std::vector<unsigned char> bytes_;
};
