#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace muduo
{
namespace net
{
class Buffer;

// The mirror of WireReader: appends big-endian fields to a Buffer.
class WireWriter
{
public:
    explicit WireWriter(Buffer& buffer) : buffer_(buffer) {}

    WireWriter& u8(uint8_t v) { return be(v); }
    WireWriter& s8(int8_t v) { return be(v); }
    WireWriter& be16(uint16_t v) { return be(v); }
    WireWriter& be32(uint32_t v) { return be(v); }
    WireWriter& be64(uint64_t v) { return be(v); }
    template <typename M>
    WireWriter& mask(M v) { return be(v); }
    // A fixed n-byte text field: cut at n, padded with zeros.
    WireWriter& text(size_t n, const std::string& s);
    WireWriter& bytes(const void* data, size_t n);

    Buffer& buffer() { return buffer_; }

private:
    template <typename T>
    WireWriter& be(T v)
    {
        uint8_t out[sizeof(T)];
        uint64_t acc = static_cast<uint64_t>(v);
        for (size_t i = sizeof(T); i-- > 0;)
        {
            out[i] = static_cast<uint8_t>(acc & 0xFF);
            acc >>= 8;
        }
        return bytes(out, sizeof(T));
    }

    Buffer& buffer_;
};
}
}
