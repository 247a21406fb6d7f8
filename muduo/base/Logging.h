#pragma once
#include <cstring>

#include "muduo/base/LogStream.h"
#include "muduo/base/Timestamp.h"

namespace muduo
{
class Logger
{
public:
    enum LogLevel
    {
        TRACE,
        DEBUG,
        INFO,
        WARN,
        ERROR,
        FATAL,
        NUM_LOG_LEVELS,
    };

    // The base name of __FILE__, found at compile time where possible.
    class SourceFile
    {
    public:
        template <int N>
        SourceFile(const char (&arr)[N]) : data_(arr), size_(N - 1)
        {
            trim();
        }
        explicit SourceFile(const char* filename) : data_(filename), size_(static_cast<int>(strlen(filename)))
        {
            trim();
        }

        const char* data_;
        int size_;

    private:
        void trim()
        {
            const char* slash = strrchr(data_, '/');
            if (slash)
            {
                size_ -= static_cast<int>(slash + 1 - data_);
                data_ = slash + 1;
            }
        }
    };

    Logger(SourceFile file, int line);
    Logger(SourceFile file, int line, LogLevel level);
    Logger(SourceFile file, int line, LogLevel level, const char* func);
    // System error lines: ERROR, or FATAL when toAbort.
    Logger(SourceFile file, int line, bool toAbort);
    // The header line carries the first 16 bytes as hex; further groups of
    // 16 follow on lines of their own, indented to the header's width.
    Logger(SourceFile file, int line, LogLevel level, const void* data, int length);
    ~Logger();

    LogStream& stream() { return impl_.stream_; }

    static LogLevel logLevel();
    static void setLogLevel(LogLevel level);

    using OutputFunc = void (*)(const char* msg, int len);
    using FlushFunc = void (*)();
    static void setOutput(OutputFunc);
    static void setFlush(FlushFunc);

private:
    class Impl
    {
    public:
        Impl(LogLevel level, int savedErrno, const SourceFile& file, int line);
        void formatTime();
        void finish();

        Timestamp time_;
        LogStream stream_;
        LogLevel level_;
        int line_;
        SourceFile basename_;
        int headerWidth_;
        // Held back by the thread's LogLimiter scope: nothing is written.
        bool muted_;
        int64_t heldBack_;  // lines the scope held back before this one
    };

    void appendHexGroup(const unsigned char* bytes, int count);

    Impl impl_;
    const unsigned char* hexData_;
    int hexLength_;
};

extern Logger::LogLevel g_logLevel;

inline Logger::LogLevel Logger::logLevel() { return g_logLevel; }

// Thread-safe strerror.
const char* strerror_tl(int savedErrno);
}  // namespace muduo

#define LOG_TRACE                                                  \
    if (muduo::Logger::logLevel() <= muduo::Logger::TRACE)         \
    muduo::Logger(__FILE__, __LINE__, muduo::Logger::TRACE, __func__).stream()
#define LOG_DEBUG                                                  \
    if (muduo::Logger::logLevel() <= muduo::Logger::DEBUG)         \
    muduo::Logger(__FILE__, __LINE__, muduo::Logger::DEBUG, __func__).stream()
#define LOG_INFO                                                   \
    if (muduo::Logger::logLevel() <= muduo::Logger::INFO)          \
    muduo::Logger(__FILE__, __LINE__).stream()
#define LOG_WARN muduo::Logger(__FILE__, __LINE__, muduo::Logger::WARN).stream()
#define LOG_ERROR muduo::Logger(__FILE__, __LINE__, muduo::Logger::ERROR).stream()
#define LOG_FATAL muduo::Logger(__FILE__, __LINE__, muduo::Logger::FATAL).stream()
#define LOG_SYSERR muduo::Logger(__FILE__, __LINE__, false).stream()
#define LOG_SYSFATAL muduo::Logger(__FILE__, __LINE__, true).stream()

// A hex dump of (data, length) at the given level, e.g.
// LOG_HEX(muduo::Logger::INFO, frame, n) << "modbus request";
#define LOG_HEX(level, data, length)            \
    if (muduo::Logger::logLevel() <= (level))   \
    muduo::Logger(__FILE__, __LINE__, (level), (data), (length)).stream()
#define LOG_HEX_DEBUG(data, length) LOG_HEX(muduo::Logger::DEBUG, data, length)
#define LOG_HEX_INFO(data, length) LOG_HEX(muduo::Logger::INFO, data, length)
#define LOG_HEX_WARN(data, length) LOG_HEX(muduo::Logger::WARN, data, length)
