// The sensor device's record decoding on arbitrary bytes in arbitrary pieces.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "TempHumModule.h"
#include "muduo/net/Buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    muduo::net::Buffer buffer;
    size_t readings = 0;
    TempHumModule::ReadingCallback cb = [&readings](bool, double temperature, double humidity) {
        if (!std::isfinite(temperature) || !std::isfinite(humidity))
            __builtin_trap();
        ++readings;
    };
    // The first byte picks the piece length, so splits are explored too.
    const size_t piece = size > 0 ? data[0] % 29 + 1 : 1;
    size_t fed = 0;
    for (size_t at = 1; at < size; at += piece)
    {
        size_t n = std::min(piece, size - at);
        buffer.append(reinterpret_cast<const char*>(data + at), n);
        fed += n;
        TempHumModule::decode(&buffer, cb);
        if (buffer.readableBytes() >= TempHumModule::kRecordSize)
            __builtin_trap();
    }
    if (readings != fed / TempHumModule::kRecordSize)
        __builtin_trap();
    return 0;
}
