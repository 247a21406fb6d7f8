#pragma once

namespace muduo
{
// Tag for value types: copying them is fine.
class copyable
{
protected:
    copyable() = default;
    ~copyable() = default;
};
}  // namespace muduo
