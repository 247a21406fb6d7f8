#include "muduo/base/LogStream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <type_traits>

namespace muduo
{
namespace
{
const char digits[] = "9876543210123456789";
const char* const zero = digits + 9;
const char digitsHex[] = "0123456789ABCDEF";

template <typename T>
size_t convert(char buf[], T value)
{
    T i = value;
    char* p = buf;
    do
    {
        int lsd = static_cast<int>(i % 10);
        i /= 10;
        *p++ = zero[lsd];
    } while (i != 0);
    if (value < 0)
        *p++ = '-';
    *p = '\0';
    std::reverse(buf, p);
    return static_cast<size_t>(p - buf);
}

size_t convertHex(char buf[], uintptr_t value)
{
    uintptr_t i = value;
    char* p = buf;
    do
    {
        *p++ = digitsHex[i % 16];
        i /= 16;
    } while (i != 0);
    *p = '\0';
    std::reverse(buf, p);
    return static_cast<size_t>(p - buf);
}
}  // namespace

template <typename T>
void LogStream::formatInteger(T v)
{
    if (buffer_.avail() >= kMaxNumericSize)
        buffer_.add(convert(buffer_.current(), v));
}

LogStream& LogStream::operator<<(short v) { return *this << static_cast<int>(v); }
LogStream& LogStream::operator<<(unsigned short v) { return *this << static_cast<unsigned int>(v); }

LogStream& LogStream::operator<<(int v)
{
    formatInteger(v);
    return *this;
}
LogStream& LogStream::operator<<(unsigned int v)
{
    formatInteger(v);
    return *this;
}
LogStream& LogStream::operator<<(long v)
{
    formatInteger(v);
    return *this;
}
LogStream& LogStream::operator<<(unsigned long v)
{
    formatInteger(v);
    return *this;
}
LogStream& LogStream::operator<<(long long v)
{
    formatInteger(v);
    return *this;
}
LogStream& LogStream::operator<<(unsigned long long v)
{
    formatInteger(v);
    return *this;
}

LogStream& LogStream::operator<<(const void* p)
{
    if (buffer_.avail() >= kMaxNumericSize)
    {
        char* buf = buffer_.current();
        buf[0] = '0';
        buf[1] = 'x';
        buffer_.add(convertHex(buf + 2, reinterpret_cast<uintptr_t>(p)) + 2);
    }
    return *this;
}

LogStream& LogStream::operator<<(double v)
{
    if (buffer_.avail() >= kMaxNumericSize)
        buffer_.add(static_cast<size_t>(snprintf(buffer_.current(), kMaxNumericSize, "%.12g", v)));
    return *this;
}

template <typename T>
Fmt::Fmt(const char* fmt, T val)
{
    static_assert(std::is_arithmetic<T>::value, "Fmt takes numbers only");
    length_ = snprintf(buf_, sizeof buf_, fmt, val);
    if (length_ < 0)
        length_ = 0;
    else if (length_ >= static_cast<int>(sizeof buf_))
        length_ = static_cast<int>(sizeof buf_) - 1;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
template Fmt::Fmt(const char* fmt, char);
template Fmt::Fmt(const char* fmt, short);
template Fmt::Fmt(const char* fmt, unsigned short);
template Fmt::Fmt(const char* fmt, int);
template Fmt::Fmt(const char* fmt, unsigned int);
template Fmt::Fmt(const char* fmt, long);
template Fmt::Fmt(const char* fmt, unsigned long);
template Fmt::Fmt(const char* fmt, long long);
template Fmt::Fmt(const char* fmt, unsigned long long);
template Fmt::Fmt(const char* fmt, float);
template Fmt::Fmt(const char* fmt, double);
#pragma GCC diagnostic pop
}  // namespace muduo
