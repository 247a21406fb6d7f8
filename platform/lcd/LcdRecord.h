#pragma once
#include <cstdint>
#include <vector>

// One request the daemon made on the LCD device file.
struct LcdRecord
{
    enum Kind
    {
        kIoctl,
        kWrite,
    };
    Kind kind = kIoctl;
    uint32_t request = 0;       // ioctl request code; 0 for a write
    std::vector<uint8_t> data;  // the ioctl's argument or the written bytes
};
