#include "LcdPanel.h"

#include <cstring>

namespace
{
int32_t intAt(const std::vector<uint8_t>& data, size_t index)
{
    int32_t v = 0;
    std::memcpy(&v, data.data() + index * sizeof v, sizeof v);  // the daemon's own byte order
    return v;
}
}

bool LcdPanel::apply(const LcdRecord& record)
{
    return record.kind == LcdRecord::kIoctl ? applyIoctl(record) : applyWrite(record);
}

bool LcdPanel::applyIoctl(const LcdRecord& record)
{
    size_t ints = record.data.size() / sizeof(int32_t);
    bool whole = record.data.size() % sizeof(int32_t) == 0;
    if (record.request == kBacklightRequest && whole && ints == 1)
    {
        bool on = intAt(record.data, 0) != 0;
        bool changed = on != backlight_;
        backlight_ = on;
        return changed;
    }
    if (record.request == kDirectionRequest && whole && ints == 1)
    {
        bool flip = intAt(record.data, 0) != 0;
        bool changed = flip != flipped_;
        flipped_ = flip;
        return changed;
    }
    if (record.request == kPositionRequest && whole && ints == 2)
    {
        page_ = intAt(record.data, 0);
        column_ = intAt(record.data, 1);
        return false;
    }
    ++rejectedRecords_;
    return false;
}

bool LcdPanel::applyWrite(const LcdRecord& record)
{
    bool changed = false;
    for (uint8_t byte : record.data)
    {
        if (page_ < 0 || page_ >= kPages || column_ < 0 || column_ >= kRamColumns)
        {
            ++droppedBytes_;
            continue;
        }
        uint8_t& cell = ram_[static_cast<size_t>(page_)][static_cast<size_t>(column_)];
        changed = changed || cell != byte;
        cell = byte;
        ++column_;
    }
    return changed;
}

uint8_t LcdPanel::ram(int page, int column) const
{
    if (page < 0 || page >= kPages || column < 0 || column >= kRamColumns)
        return 0;
    return ram_[static_cast<size_t>(page)][static_cast<size_t>(column)];
}

bool LcdPanel::pixel(int x, int y) const
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return false;
    int column = flipped_ ? x + kFlippedColumnOffset : x;
    return (ram(y / 8, column) >> (y % 8)) & 1;
}
