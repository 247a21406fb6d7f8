// The emulator's request reassembler on arbitrary bytes in arbitrary pieces.
#include "FuzzSplit.h"
#include "PmRequestReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    pmemu::PmRequestReader reader;
    std::vector<pmemu::PmRequest> out;
    auto when = std::chrono::steady_clock::time_point();
    fuzz::forEachPiece(data, size, 16, [&](const uint8_t* bytes, size_t n) {
        reader.feed(bytes, n, when, out);
        when += std::chrono::milliseconds(bytes[0] & 0x80 ? 600 : 1);
    });
    for (const auto& r : out)
        if (r.payload.size() != static_cast<size_t>(pmemu::PmRequestReader::payloadLength(r.command)))
            __builtin_trap();
    return 0;
}
