#pragma once
#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>
#include <vector>

#include "muduo/base/StringPiece.h"
#include "muduo/base/copyable.h"
#include "muduo/net/Endian.h"

namespace muduo
{
namespace net
{
class InetAddress;

// A byte buffer with cheap prepend space:
//   | prependable | readable (peek()..) | writable (beginWrite()..) |
class Buffer : public muduo::copyable
{
public:
    static const size_t kCheapPrepend = 8;
    static const size_t kInitialSize = 1024;

    explicit Buffer(size_t initialSize = kInitialSize)
        : buffer_(kCheapPrepend + initialSize), readerIndex_(kCheapPrepend), writerIndex_(kCheapPrepend)
    {
    }

    void swap(Buffer& rhs)
    {
        buffer_.swap(rhs.buffer_);
        std::swap(readerIndex_, rhs.readerIndex_);
        std::swap(writerIndex_, rhs.writerIndex_);
    }

    size_t readableBytes() const { return writerIndex_ - readerIndex_; }
    size_t writableBytes() const { return buffer_.size() - writerIndex_; }
    size_t prependableBytes() const { return readerIndex_; }
    const char* peek() const { return begin() + readerIndex_; }

    const char* findCRLF() const { return findCRLF(peek()); }
    const char* findCRLF(const char* start) const;
    const char* findEOL() const { return findEOL(peek()); }
    const char* findEOL(const char* start) const;

    void retrieve(size_t len);
    void retrieveUntil(const char* end)
    {
        assert(peek() <= end && end <= beginWrite());
        retrieve(static_cast<size_t>(end - peek()));
    }
    void retrieveInt64() { retrieve(sizeof(int64_t)); }
    void retrieveInt32() { retrieve(sizeof(int32_t)); }
    void retrieveInt16() { retrieve(sizeof(int16_t)); }
    void retrieveInt8() { retrieve(sizeof(int8_t)); }
    void retrieveAll() { readerIndex_ = writerIndex_ = kCheapPrepend; }
    std::string retrieveAllAsString() { return retrieveAsString(readableBytes()); }
    std::string retrieveAsString(size_t len);

    StringPiece toStringPiece() const { return StringPiece(peek(), static_cast<int>(readableBytes())); }

    void append(const StringPiece& str) { append(str.data(), static_cast<size_t>(str.size())); }
    void append(const char* data, size_t len)
    {
        ensureWritableBytes(len);
        std::copy(data, data + len, beginWrite());
        hasWritten(len);
    }
    void append(const void* data, size_t len) { append(static_cast<const char*>(data), len); }

    void ensureWritableBytes(size_t len)
    {
        if (writableBytes() < len)
            makeSpace(len);
        assert(writableBytes() >= len);
    }
    char* beginWrite() { return begin() + writerIndex_; }
    const char* beginWrite() const { return begin() + writerIndex_; }
    void hasWritten(size_t len)
    {
        assert(len <= writableBytes());
        writerIndex_ += len;
    }
    void unwrite(size_t len)
    {
        assert(len <= readableBytes());
        writerIndex_ -= len;
    }

    // Integers travel in network byte order.
    void appendInt64(int64_t x) { appendBig(sockets::hostToNetwork64(static_cast<uint64_t>(x))); }
    void appendInt32(int32_t x) { appendBig(sockets::hostToNetwork32(static_cast<uint32_t>(x))); }
    void appendInt16(int16_t x) { appendBig(sockets::hostToNetwork16(static_cast<uint16_t>(x))); }
    void appendInt8(int8_t x) { append(&x, sizeof x); }

    int64_t readInt64() { int64_t r = peekInt64(); retrieveInt64(); return r; }
    int32_t readInt32() { int32_t r = peekInt32(); retrieveInt32(); return r; }
    int16_t readInt16() { int16_t r = peekInt16(); retrieveInt16(); return r; }
    int8_t readInt8() { int8_t r = peekInt8(); retrieveInt8(); return r; }

    int64_t peekInt64() const { return static_cast<int64_t>(sockets::networkToHost64(peekRaw<uint64_t>())); }
    int32_t peekInt32() const { return static_cast<int32_t>(sockets::networkToHost32(peekRaw<uint32_t>())); }
    int16_t peekInt16() const { return static_cast<int16_t>(sockets::networkToHost16(peekRaw<uint16_t>())); }
    int8_t peekInt8() const { return peekRaw<int8_t>(); }

    void prependInt64(int64_t x) { prependBig(sockets::hostToNetwork64(static_cast<uint64_t>(x))); }
    void prependInt32(int32_t x) { prependBig(sockets::hostToNetwork32(static_cast<uint32_t>(x))); }
    void prependInt16(int16_t x) { prependBig(sockets::hostToNetwork16(static_cast<uint16_t>(x))); }
    void prependInt8(int8_t x) { prepend(&x, sizeof x); }
    void prepend(const void* data, size_t len)
    {
        assert(len <= prependableBytes());
        readerIndex_ -= len;
        const char* d = static_cast<const char*>(data);
        std::copy(d, d + len, begin() + readerIndex_);
    }

    // Drops unused capacity, keeping `reserve` bytes writable.
    void shrink(size_t reserve);
    size_t internalCapacity() const { return buffer_.capacity(); }

    // Reads straight into the buffer; returns read(2)'s result.
    ssize_t readFd(int fd, int* savedErrno);
    // One datagram: stores the sender in peer; returns recvfrom(2)'s result.
    ssize_t readFromFd(int fd, InetAddress& peer, int* savedErrno);

private:
    char* begin() { return buffer_.data(); }
    const char* begin() const { return buffer_.data(); }
    void makeSpace(size_t len);

    template <typename T>
    void appendBig(T be) { append(&be, sizeof be); }
    template <typename T>
    void prependBig(T be) { prepend(&be, sizeof be); }
    template <typename T>
    T peekRaw() const
    {
        assert(readableBytes() >= sizeof(T));
        T x;
        ::memcpy(&x, peek(), sizeof x);
        return x;
    }

    std::vector<char> buffer_;
    size_t readerIndex_;
    size_t writerIndex_;

    static const char kCRLF[];
};
}  // namespace net
}  // namespace muduo
