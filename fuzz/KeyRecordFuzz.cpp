// The key device's record decoding on arbitrary bytes in arbitrary pieces.
#include <cstdint>

#include "FuzzSplit.h"
#include "KeyReader.h"
#include "muduo/net/Buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    muduo::net::Buffer buffer;
    size_t events = 0;
    KeyReader::KeyCallback cb = [&events](unsigned short key, unsigned short state) {
        if (key > 0xFF || (state & 0x00FF))
            __builtin_trap();
        ++events;
    };
    size_t fed = 0;
    fuzz::forEachPiece(data, size, 7, [&](const uint8_t* bytes, size_t n) {
        buffer.append(reinterpret_cast<const char*>(bytes), n);
        fed += n;
        KeyReader::decode(&buffer, cb);
        if (buffer.readableBytes() >= KeyReader::kRecordSize)
            __builtin_trap();
    });
    if (events != fed / KeyReader::kRecordSize)
        __builtin_trap();
    return 0;
}
