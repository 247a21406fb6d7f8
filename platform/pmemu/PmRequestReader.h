#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PmRequest.h"

namespace pmemu
{
// Reassembles request frames (A5, command, fixed payload, checksum) from the
// byte stream in any split. Bytes outside a frame are skipped; a bad command
// resynchronises on the next A5; a frame with a wrong checksum is dropped; a
// partial frame older than half a second is dropped when new bytes arrive.
class PmRequestReader
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr uint8_t kHeader = 0xA5;
    // Payload length of a request command, -1 for an unknown command.
    static int payloadLength(uint8_t command);

    // Appends every request completed by these bytes to out.
    void feed(const uint8_t* data, size_t len, Clock::time_point when, std::vector<PmRequest>& out);

    size_t checksumErrors() const { return checksumErrors_; }
    size_t invalidCommands() const { return invalidCommands_; }

private:
    void reset() { state_ = State::Header; }

    enum class State { Header, Command, Body };
    State state_ = State::Header;
    PmRequest current_;
    int remaining_ = 0;  // payload bytes still missing; the checksum follows
    uint8_t sum_ = 0;
    Clock::time_point last_{};
    size_t checksumErrors_ = 0;
    size_t invalidCommands_ = 0;
};
}
