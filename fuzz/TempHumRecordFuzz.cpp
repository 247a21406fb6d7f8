// The sensor device's record decoding on arbitrary bytes in arbitrary pieces.
#include <cmath>
#include <cstdint>

#include "FuzzSplit.h"
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
    size_t fed = 0;
    fuzz::forEachPiece(data, size, 29, [&](const uint8_t* bytes, size_t n) {
        buffer.append(reinterpret_cast<const char*>(bytes), n);
        fed += n;
        TempHumModule::decode(&buffer, cb);
        if (buffer.readableBytes() >= TempHumModule::kRecordSize)
            __builtin_trap();
    });
    if (readings != fed / TempHumModule::kRecordSize)
        __builtin_trap();
    return 0;
}
