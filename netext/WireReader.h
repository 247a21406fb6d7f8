#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace muduo
{
namespace net
{
class Buffer;

// Bounds-checked big-endian reads over received bytes. Every read fails
// (and consumes nothing) when the bytes are not there, so a codec never
// indexes a frame by hand.
class WireReader
{
public:
    WireReader(const void* data, size_t length)
        : p_(static_cast<const uint8_t*>(data)), end_(p_ + (data ? length : 0)), begin_(p_) {}
    explicit WireReader(const Buffer& buffer);

    bool u8(uint8_t& v) { return be(v); }
    bool s8(int8_t& v) { return be(v); }
    bool be16(uint16_t& v) { return be(v); }
    bool be16(int16_t& v) { return be(v); }
    bool be32(uint32_t& v) { return be(v); }
    bool be32(int32_t& v) { return be(v); }
    bool be64(uint64_t& v) { return be(v); }
    // A 32- or 64-bit outlet mask, as wide as M.
    template <typename M>
    bool mask(M& v) { return be(v); }

    // A fixed n-byte text field, zero-padded: stops at the first zero byte.
    bool text(size_t n, std::string& out)
    {
        if (remaining() < n)
            return false;
        const void* zero = ::memchr(p_, 0, n);
        size_t len = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p_) : n;
        out.assign(reinterpret_cast<const char*>(p_), len);
        p_ += n;
        return true;
    }
    bool bytes(void* out, size_t n)
    {
        if (remaining() < n)
            return false;
        if (n)
            ::memcpy(out, p_, n);
        p_ += n;
        return true;
    }
    bool skip(size_t n)
    {
        if (remaining() < n)
            return false;
        p_ += n;
        return true;
    }

    size_t remaining() const { return static_cast<size_t>(end_ - p_); }
    size_t consumed() const { return static_cast<size_t>(p_ - begin_); }
    const uint8_t* current() const { return p_; }

private:
    template <typename T>
    bool be(T& v)
    {
        if (remaining() < sizeof(T))
            return false;
        uint64_t acc = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            acc = (acc << 8) | p_[i];
        v = static_cast<T>(acc);
        p_ += sizeof(T);
        return true;
    }

    const uint8_t* p_;
    const uint8_t* end_;
    const uint8_t* begin_;
};
}
}
