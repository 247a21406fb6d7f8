#pragma once
#include <array>
#include <cstdint>

#include "LcdRecord.h"

// The 128 x 64 panel behind /dev/lcd: the controller's display memory
// (8 pages of 132 columns), its write position, the backlight and the
// direction, kept from the daemon's requests.
class LcdPanel
{
public:
    static constexpr int kWidth = 128;
    static constexpr int kHeight = 64;
    static constexpr int kPages = 8;
    static constexpr int kRamColumns = 132;
    // When flipped the controller shows memory columns 4 to 131.
    static constexpr int kFlippedColumnOffset = kRamColumns - kWidth;

    static constexpr uint32_t kBacklightRequest = 0x40046C01;
    static constexpr uint32_t kPositionRequest = 0x40086C02;
    static constexpr uint32_t kDirectionRequest = 0x40046C03;

    // Applies one request; true when what the panel shows changed.
    bool apply(const LcdRecord& record);

    // Pixel (x, y) as a person facing the mounted unit sees it: with the
    // direction flipped the unit is mounted the other way up, so the picture
    // stays upright and only the memory columns shown move by 4.
    bool pixel(int x, int y) const;
    uint8_t ram(int page, int column) const;
    bool backlight() const { return backlight_; }
    bool flipped() const { return flipped_; }
    int page() const { return page_; }
    int column() const { return column_; }
    // Requests the panel does not know or whose argument has the wrong size,
    // and bytes written outside the display memory.
    uint64_t rejectedRecords() const { return rejectedRecords_; }
    uint64_t droppedBytes() const { return droppedBytes_; }

private:
    bool applyIoctl(const LcdRecord& record);
    bool applyWrite(const LcdRecord& record);

    std::array<std::array<uint8_t, kRamColumns>, kPages> ram_{};
    int page_ = 0;
    int column_ = 0;
    bool backlight_ = false;
    bool flipped_ = false;
    uint64_t rejectedRecords_ = 0;
    uint64_t droppedBytes_ = 0;
};
