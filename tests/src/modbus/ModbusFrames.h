#pragma once
// Building Modbus/TCP requests and reading the replies a controller appends.
#include <cstdint>
#include <string>
#include <vector>

#include "muduo/net/Buffer.h"
#include "netext/WireReader.h"
#include "netext/WireWriter.h"

namespace mbtest
{
typedef std::vector<uint8_t> Bytes;

// MBAP header (length from the data) + unit id + function code + data.
inline std::string frame(uint8_t fc, const Bytes& data, uint16_t tid = 0x1234, uint8_t uid = 1, uint16_t pid = 0)
{
    muduo::net::Buffer b;
    muduo::net::WireWriter w(b);
    w.be16(tid).be16(pid).be16(static_cast<uint16_t>(data.size() + 2)).u8(uid).u8(fc).bytes(data.data(), data.size());
    return b.retrieveAllAsString();
}

inline Bytes be16s(std::initializer_list<uint16_t> words)
{
    Bytes out;
    for (uint16_t w : words)
    {
        out.push_back(static_cast<uint8_t>(w >> 8));
        out.push_back(static_cast<uint8_t>(w & 0xFF));
    }
    return out;
}

struct Reply
{
    uint16_t tid = 0, pid = 0, length = 0;
    uint8_t uid = 0, fc = 0;
    Bytes data;
    bool isException() const { return fc & 0x80; }
    int exception() const { return isException() && data.size() == 1 ? data[0] : 0; }
};

// Every whole reply in the buffer, which is emptied; a malformed one ends the list.
inline std::vector<Reply> takeReplies(muduo::net::Buffer& buffer)
{
    std::vector<Reply> out;
    std::string bytes = buffer.retrieveAllAsString();
    muduo::net::WireReader in(bytes.data(), bytes.size());
    Reply r;
    while (in.be16(r.tid) && in.be16(r.pid) && in.be16(r.length) && r.length >= 2 && in.u8(r.uid) && in.u8(r.fc))
    {
        r.data.assign(r.length - 2, 0);
        if (!in.bytes(r.data.data(), r.data.size()))
            break;
        out.push_back(r);
    }
    return out;
}

// The registers of a read reply (byte count, then big-endian words).
inline std::vector<uint16_t> registers(const Reply& r)
{
    std::vector<uint16_t> out;
    muduo::net::WireReader in(r.data.data(), r.data.size());
    uint8_t count = 0;
    uint16_t v = 0;
    if (!in.u8(count) || count != in.remaining())
        return out;
    while (in.be16(v))
        out.push_back(v);
    return out;
}
}
