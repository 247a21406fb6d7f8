#pragma once
#include <cstring>
#include <string>

#include "muduo/base/StringPiece.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace detail
{
// One log line holds at most this many characters.
const int kSmallBuffer = 10000;
const int kLargeBuffer = 4000 * 1000;

// A fixed byte buffer that never overflows: a piece that does not fit is
// left out whole. A reserve keeps room at the end for what must follow.
template <int SIZE>
class FixedBuffer : noncopyable
{
public:
    FixedBuffer() : cur_(data_), reserve_(0) {}

    void append(const char* buf, size_t len)
    {
        if (static_cast<size_t>(avail()) > len)
        {
            memcpy(cur_, buf, len);
            cur_ += len;
        }
    }

    const char* data() const { return data_; }
    int length() const { return static_cast<int>(cur_ - data_); }

    char* current() { return cur_; }
    int avail() const { return static_cast<int>(end() - cur_) - reserve_; }
    void add(size_t len) { cur_ += len; }

    // Keeps n bytes at the end free for later appends after setReserve(0).
    void setReserve(int n) { reserve_ = n; }

    void reset() { cur_ = data_; }
    void bzero() { memset(data_, 0, sizeof data_); }

    std::string toString() const { return std::string(data_, length()); }
    StringPiece toStringPiece() const { return StringPiece(data_, length()); }

private:
    const char* end() const { return data_ + sizeof data_; }

    char data_[SIZE];
    char* cur_;
    int reserve_;
};
}  // namespace detail

class LogStream : noncopyable
{
    using self = LogStream;

public:
    using Buffer = detail::FixedBuffer<detail::kSmallBuffer>;

    self& operator<<(bool v)
    {
        buffer_.append(v ? "1" : "0", 1);
        return *this;
    }

    self& operator<<(short);
    self& operator<<(unsigned short);
    self& operator<<(int);
    self& operator<<(unsigned int);
    self& operator<<(long);
    self& operator<<(unsigned long);
    self& operator<<(long long);
    self& operator<<(unsigned long long);

    self& operator<<(const void*);

    self& operator<<(float v) { return *this << static_cast<double>(v); }
    self& operator<<(double);

    self& operator<<(char v)
    {
        buffer_.append(&v, 1);
        return *this;
    }

    self& operator<<(const char* str)
    {
        if (str)
            buffer_.append(str, strlen(str));
        else
            buffer_.append("(null)", 6);
        return *this;
    }
    self& operator<<(const unsigned char* str) { return *this << reinterpret_cast<const char*>(str); }

    self& operator<<(const std::string& v)
    {
        buffer_.append(v.c_str(), v.size());
        return *this;
    }
    self& operator<<(const StringPiece& v)
    {
        if (v.size() > 0)
            buffer_.append(v.data(), static_cast<size_t>(v.size()));
        return *this;
    }
    self& operator<<(const Buffer& v) { return *this << v.toStringPiece(); }

    void append(const char* data, int len)
    {
        if (len > 0)
            buffer_.append(data, static_cast<size_t>(len));
    }
    const Buffer& buffer() const { return buffer_; }
    Buffer& buffer() { return buffer_; }
    void resetBuffer() { buffer_.reset(); }

private:
    template <typename T>
    void formatInteger(T);

    Buffer buffer_;

    static const int kMaxNumericSize = 48;
};

// printf-style formatting of one number: LOG_INFO << Fmt("%4.2f", x).
class Fmt
{
public:
    template <typename T>
    Fmt(const char* fmt, T val);

    const char* data() const { return buf_; }
    int length() const { return length_; }

private:
    char buf_[32];
    int length_;
};

inline LogStream& operator<<(LogStream& s, const Fmt& fmt)
{
    s.append(fmt.data(), fmt.length());
    return s;
}
}  // namespace muduo
