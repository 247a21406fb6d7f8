#include "SensorFeeder.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>

void SensorFeeder::tick(time_t now)
{
    if (now - last_ < kPeriodSeconds)
        return;
    last_ = now;
    const double t = static_cast<double>(now);
    tenthsC_ = static_cast<int>(std::lround(240 + 15 * std::sin(t / 600) + 2 * std::sin(t / 97)));
    tenthsRh_ = static_cast<int>(std::lround(450 + 50 * std::sin(t / 900) + 5 * std::sin(t / 131)));
    const int32_t record[5] = {1, tenthsC_ / 10, tenthsC_ % 10, tenthsRh_ / 10, tenthsRh_ % 10};
    unsigned char bytes[sizeof record];
    std::memcpy(bytes, record, sizeof record);  // the board's byte order: little-endian
    // Without a reader the FIFO fills up and the record is dropped.
    (void)!::write(fd_, bytes, sizeof bytes);
}
