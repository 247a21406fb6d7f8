#include "muduo/base/Logging.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "muduo/base/CurrentThread.h"
#include "muduo/base/LogLimiter.h"

namespace muduo
{
namespace
{
thread_local char t_errnobuf[512];
thread_local char t_time[64];
thread_local time_t t_lastSecond;

// Room kept for " - file:line\n" while the message is written.
const int kTrailerReserve = 256;
const int kBytesPerHexLine = 16;

Logger::LogLevel initLogLevel()
{
    if (::getenv("MUDUO_LOG_TRACE"))
        return Logger::TRACE;
    if (::getenv("MUDUO_LOG_DEBUG"))
        return Logger::DEBUG;
    return Logger::INFO;
}

const char* const kLevelName[Logger::NUM_LOG_LEVELS] = {
    "TRACE ", "DEBUG ", "INFO  ", "WARN  ", "ERROR ", "FATAL ",
};

void defaultOutput(const char* msg, int len) { fwrite(msg, 1, static_cast<size_t>(len), stdout); }
void defaultFlush() { fflush(stdout); }

Logger::OutputFunc g_output = defaultOutput;
Logger::FlushFunc g_flush = defaultFlush;
}  // namespace

Logger::LogLevel g_logLevel = initLogLevel();

const char* strerror_tl(int savedErrno)
{
    // The GNU strerror_r may return a static string instead of filling the buffer.
    return strerror_r(savedErrno, t_errnobuf, sizeof t_errnobuf);
}

Logger::Impl::Impl(LogLevel level, int savedErrno, const SourceFile& file, int line)
    : time_(Timestamp::now()), stream_(), level_(level), line_(line), basename_(file), headerWidth_(0),
      muted_(false), heldBack_(0)
{
    LogLimiter* limiter = level >= WARN && level < FATAL ? LogLimiter::current() : nullptr;
    if (limiter && !limiter->allow(&heldBack_))
    {
        muted_ = true;
        return;
    }
    stream_.buffer().setReserve(kTrailerReserve);
    formatTime();
    CurrentThread::tid();
    stream_.append(CurrentThread::tidString(), CurrentThread::tidStringLength());
    stream_.append(kLevelName[level], 6);
    headerWidth_ = stream_.buffer().length();
    if (savedErrno != 0)
        stream_ << strerror_tl(savedErrno) << " (errno=" << savedErrno << ") ";
}

void Logger::Impl::formatTime()
{
    int64_t micros = time_.microSecondsSinceEpoch();
    time_t seconds = static_cast<time_t>(micros / Timestamp::kMicroSecondsPerSecond);
    int microseconds = static_cast<int>(micros % Timestamp::kMicroSecondsPerSecond);
    if (seconds != t_lastSecond || t_time[0] == '\0')
    {
        t_lastSecond = seconds;
        struct tm tm_time;
        gmtime_r(&seconds, &tm_time);
        snprintf(t_time, sizeof t_time, "%4d%02d%02d %02d:%02d:%02d", tm_time.tm_year + 1900, tm_time.tm_mon + 1,
                 tm_time.tm_mday, tm_time.tm_hour, tm_time.tm_min, tm_time.tm_sec);
    }
    char us[16];
    int n = snprintf(us, sizeof us, ".%06d ", microseconds);
    stream_.append(t_time, 17);
    stream_.append(us, n);
}

void Logger::Impl::finish()
{
    stream_.buffer().setReserve(0);
    if (heldBack_ > 0)
        stream_ << LogLimiter::note(heldBack_);
    stream_ << " - " << StringPiece(basename_.data_, basename_.size_) << ':' << line_ << '\n';
}

Logger::Logger(SourceFile file, int line) : impl_(INFO, 0, file, line), hexData_(nullptr), hexLength_(0) {}

Logger::Logger(SourceFile file, int line, LogLevel level, const char* func)
    : impl_(level, 0, file, line), hexData_(nullptr), hexLength_(0)
{
    impl_.stream_ << func << ' ';
}

Logger::Logger(SourceFile file, int line, LogLevel level)
    : impl_(level, 0, file, line), hexData_(nullptr), hexLength_(0)
{
}

Logger::Logger(SourceFile file, int line, bool toAbort)
    : impl_(toAbort ? FATAL : ERROR, errno, file, line), hexData_(nullptr), hexLength_(0)
{
}

Logger::Logger(SourceFile file, int line, LogLevel level, const void* data, int length)
    : impl_(level, 0, file, line),
      hexData_(static_cast<const unsigned char*>(data)),
      hexLength_(data && length > 0 ? length : 0)
{
    appendHexGroup(hexData_, hexLength_ < kBytesPerHexLine ? hexLength_ : kBytesPerHexLine);
}

void Logger::appendHexGroup(const unsigned char* bytes, int count)
{
    char hex[4];
    for (int i = 0; i < count; ++i)
    {
        snprintf(hex, sizeof hex, "%02X ", bytes[i]);
        impl_.stream_.append(hex, 3);
    }
}

Logger::~Logger()
{
    if (impl_.muted_)
        return;
    impl_.finish();
    LogStream::Buffer& buf = impl_.stream_.buffer();
    // Each further line goes in whole or not at all, so the record never
    // ends in the middle of a line.
    std::string line;
    for (int offset = kBytesPerHexLine; offset < hexLength_; offset += kBytesPerHexLine)
    {
        int count = hexLength_ - offset < kBytesPerHexLine ? hexLength_ - offset : kBytesPerHexLine;
        line.assign(static_cast<size_t>(impl_.headerWidth_), ' ');
        char hex[4];
        for (int i = 0; i < count; ++i)
        {
            snprintf(hex, sizeof hex, "%02X ", hexData_[offset + i]);
            line.append(hex, 3);
        }
        line.push_back('\n');
        if (static_cast<size_t>(buf.avail()) <= line.size())
            break;
        buf.append(line.data(), line.size());
    }
    g_output(buf.data(), buf.length());
    if (impl_.level_ == FATAL)
    {
        g_flush();
        abort();
    }
}

void Logger::setLogLevel(LogLevel level) { g_logLevel = level; }
void Logger::setOutput(OutputFunc out) { g_output = out ? out : defaultOutput; }
void Logger::setFlush(FlushFunc flush) { g_flush = flush ? flush : defaultFlush; }
}  // namespace muduo
