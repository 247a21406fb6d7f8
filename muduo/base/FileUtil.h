#pragma once
#include <cstdio>
#include <string>

#include "muduo/base/noncopyable.h"

namespace muduo
{
namespace FileUtil
{
// A file opened for appending through a large stdio buffer; not thread safe.
class AppendFile : noncopyable
{
public:
    explicit AppendFile(const std::string& filename);
    ~AppendFile();

    bool isOpen() const { return fp_ != nullptr; }
    void append(const char* logline, size_t len);
    void flush();
    off_t writtenBytes() const { return writtenBytes_; }

private:
    FILE* fp_;
    char buffer_[64 * 1024];
    off_t writtenBytes_;
};
}  // namespace FileUtil
}  // namespace muduo
