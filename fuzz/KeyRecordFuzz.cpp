// The key device's record decoding on arbitrary bytes in arbitrary pieces.
#include <algorithm>
#include <cstdint>

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
    // The first byte picks the piece length, so splits are explored too.
    const size_t piece = size > 0 ? data[0] % 7 + 1 : 1;
    size_t fed = 0;
    for (size_t at = 1; at < size; at += piece)
    {
        size_t n = std::min(piece, size - at);
        buffer.append(reinterpret_cast<const char*>(data + at), n);
        fed += n;
        KeyReader::decode(&buffer, cb);
        if (buffer.readableBytes() >= KeyReader::kRecordSize)
            __builtin_trap();
    }
    if (events != fed / KeyReader::kRecordSize)
        __builtin_trap();
    return 0;
}
