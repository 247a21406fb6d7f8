// The emulator's request reassembler on arbitrary bytes in arbitrary pieces.
#include "PmRequestReader.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    pmemu::PmRequestReader reader;
    std::vector<pmemu::PmRequest> out;
    auto when = std::chrono::steady_clock::time_point();
    // The first byte picks the piece length, so splits are explored too.
    const size_t piece = size > 0 ? data[0] % 16 + 1 : 1;
    for (size_t at = 1; at < size; at += piece)
    {
        reader.feed(data + at, std::min(piece, size - at), when, out);
        when += std::chrono::milliseconds(data[at] & 0x80 ? 600 : 1);
    }
    for (const auto& r : out)
        if (r.payload.size() != static_cast<size_t>(pmemu::PmRequestReader::payloadLength(r.command)))
            __builtin_trap();
    return 0;
}
