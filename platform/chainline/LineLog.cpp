#include "LineLog.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace chainline
{
namespace
{
const size_t kBytesPerLine = 32;
}

LineLog::~LineLog()
{
    if (!path_.empty() && out_)
        std::fclose(out_);
}

bool LineLog::open(const std::string& path, long maxBytes, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "a");
    if (!file)
    {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!path_.empty() && out_)
        std::fclose(out_);
    out_ = file;
    path_ = path;
    maxBytes_ = maxBytes;
    std::fseek(out_, 0, SEEK_END);
    bytes_ = std::ftell(out_);
    rotateWhenFull();
    return out_ != nullptr;
}

void LineLog::count(int written)
{
    if (written > 0)
        bytes_ += written;
}

void LineLog::rotateWhenFull()
{
    if (path_.empty() || !out_ || bytes_ < maxBytes_)
        return;
    std::fclose(out_);
    const std::string older = path_ + ".1";
    if (std::rename(path_.c_str(), older.c_str()) != 0)
        std::fprintf(stderr, "chainline: %s: %s\n", older.c_str(), std::strerror(errno));
    // Without a file the line goes on, unlogged: the log never stops it.
    out_ = std::fopen(path_.c_str(), "w");
    if (!out_)
        std::fprintf(stderr, "chainline: %s: %s\n", path_.c_str(), std::strerror(errno));
    bytes_ = 0;
}

std::string LineLog::stamp()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    ::gmtime_r(&now.tv_sec, &utc);
    char text[40];
    const size_t n = std::strftime(text, sizeof text, "%Y%m%d %H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%06ld", now.tv_nsec / 1000);
    return text;
}

void LineLog::wrote(size_t end, const uint8_t* data, size_t n)
{
    if (!out_)
        return;
    const std::string when = stamp();
    for (size_t at = 0; at < n; at += kBytesPerLine)
    {
        count(std::fprintf(out_, "%s end %zu >", when.c_str(), end));
        for (size_t i = at; i < n && i < at + kBytesPerLine; ++i)
            count(std::fprintf(out_, " %02x", data[i]));
        count(std::fputc('\n', out_) == EOF ? 0 : 1);
    }
    std::fflush(out_);
    rotateWhenFull();
}

void LineLog::note(size_t end, const std::string& what)
{
    if (!out_)
        return;
    count(std::fprintf(out_, "%s end %zu %s\n", stamp().c_str(), end, what.c_str()));
    std::fflush(out_);
    rotateWhenFull();
}
}
