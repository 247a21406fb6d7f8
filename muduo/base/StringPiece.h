#pragma once
#include <cstring>
#include <iosfwd>
#include <string>

namespace muduo
{
// Passes a C string or std::string to a function that wants a C string.
class StringArg
{
public:
    StringArg(const char* str) : str_(str) {}
    StringArg(const std::string& str) : str_(str.c_str()) {}
    const char* c_str() const { return str_; }

private:
    const char* str_;
};

// A non-owning view of bytes; the owner must outlive it.
class StringPiece
{
public:
    StringPiece() : ptr_(nullptr), length_(0) {}
    StringPiece(const char* str) : ptr_(str), length_(static_cast<int>(std::strlen(str))) {}
    StringPiece(const unsigned char* str)
        : ptr_(reinterpret_cast<const char*>(str)), length_(static_cast<int>(std::strlen(ptr_)))
    {
    }
    StringPiece(const std::string& str) : ptr_(str.data()), length_(static_cast<int>(str.size())) {}
    StringPiece(const char* offset, int len) : ptr_(offset), length_(len) {}

    const char* data() const { return ptr_; }
    int size() const { return length_; }
    bool empty() const { return length_ == 0; }
    const char* begin() const { return ptr_; }
    const char* end() const { return ptr_ + length_; }

    void clear()
    {
        ptr_ = nullptr;
        length_ = 0;
    }
    void set(const char* buffer, int len)
    {
        ptr_ = buffer;
        length_ = len;
    }
    void set(const char* str)
    {
        ptr_ = str;
        length_ = static_cast<int>(std::strlen(str));
    }

    char operator[](int i) const { return ptr_[i]; }

    void remove_prefix(int n)
    {
        ptr_ += n;
        length_ -= n;
    }
    void remove_suffix(int n) { length_ -= n; }

    bool operator==(const StringPiece& x) const
    {
        return length_ == x.length_ && (length_ == 0 || std::memcmp(ptr_, x.ptr_, length_) == 0);
    }
    bool operator!=(const StringPiece& x) const { return !(*this == x); }
    bool operator<(const StringPiece& x) const { return compare(x) < 0; }
    bool operator<=(const StringPiece& x) const { return compare(x) <= 0; }
    bool operator>(const StringPiece& x) const { return compare(x) > 0; }
    bool operator>=(const StringPiece& x) const { return compare(x) >= 0; }

    int compare(const StringPiece& x) const
    {
        int n = length_ < x.length_ ? length_ : x.length_;
        int r = n > 0 ? std::memcmp(ptr_, x.ptr_, n) : 0;
        if (r == 0)
            r = length_ < x.length_ ? -1 : (length_ > x.length_ ? 1 : 0);
        return r;
    }

    std::string as_string() const { return ptr_ ? std::string(ptr_, length_) : std::string(); }
    void CopyToString(std::string* target) const { target->assign(ptr_, length_); }

    bool starts_with(const StringPiece& x) const
    {
        return length_ >= x.length_ && (x.length_ == 0 || std::memcmp(ptr_, x.ptr_, x.length_) == 0);
    }

private:
    const char* ptr_;
    int length_;
};
}  // namespace muduo
