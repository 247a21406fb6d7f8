#pragma once
#include <cassert>
#include <cstdint>
#include <cstring>
#include <string>

namespace muduo
{
using std::string;

inline void memZero(void* p, size_t n) { std::memset(p, 0, n); }

template <typename To, typename From>
inline To implicit_cast(const From& f)
{
    return f;
}

// static_cast that debug builds check with dynamic_cast.
template <typename To, typename From>
inline To down_cast(From* f)
{
#ifndef NDEBUG
    assert(f == nullptr || dynamic_cast<To>(f) != nullptr);
#endif
    return static_cast<To>(f);
}
}  // namespace muduo
