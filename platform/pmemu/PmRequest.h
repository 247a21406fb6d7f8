#pragma once
#include <chrono>
#include <cstdint>
#include <vector>

namespace pmemu
{
// One request frame as received from the daemon (checksum verified).
struct PmRequest
{
    uint8_t command = 0;
    std::vector<uint8_t> payload;
    std::chrono::steady_clock::time_point received;
    // False when a silent module heard it: it neither acted nor answered.
    bool acted = true;
};
}
