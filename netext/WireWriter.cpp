#include "netext/WireWriter.h"

#include "muduo/net/Buffer.h"

namespace muduo
{
namespace net
{
WireWriter& WireWriter::text(size_t n, const std::string& s)
{
    size_t len = s.size() < n ? s.size() : n;
    bytes(s.data(), len);
    static const char zeros[64] = {};
    for (size_t left = n - len; left > 0;)
    {
        size_t chunk = left < sizeof zeros ? left : sizeof zeros;
        bytes(zeros, chunk);
        left -= chunk;
    }
    return *this;
}

WireWriter& WireWriter::bytes(const void* data, size_t n)
{
    if (n)
        buffer_.append(static_cast<const char*>(data), n);
    return *this;
}
}
}
