#pragma once
#include <memory>

#include "muduo/base/Mutex.h"
#include "muduo/base/noncopyable.h"

namespace muduo
{
class AsyncLogging;
}

// Optional log file: once started, every log line goes to an asynchronous
// rolling file in the working directory instead of standard output.
class FileLog : muduo::noncopyable
{
public:
    static FileLog& instance();

    // Names the files after the last component of path (a program path).
    // A back end started earlier is stopped and replaced.
    void start(const char* path);

    void append(const char* logline, int len);

private:
    FileLog() = default;

    static FileLog* s_fileLog;

    muduo::MutexLock mutex_;
    std::unique_ptr<muduo::AsyncLogging> backend_;
};
