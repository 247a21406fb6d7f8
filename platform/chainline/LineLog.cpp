#include "LineLog.h"

#include <ctime>

namespace chainline
{
namespace
{
const size_t kBytesPerLine = 32;
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
    const std::string when = stamp();
    for (size_t at = 0; at < n; at += kBytesPerLine)
    {
        std::fprintf(out_, "%s end %zu >", when.c_str(), end);
        for (size_t i = at; i < n && i < at + kBytesPerLine; ++i)
            std::fprintf(out_, " %02x", data[i]);
        std::fputc('\n', out_);
    }
    std::fflush(out_);
}

void LineLog::note(size_t end, const std::string& what)
{
    std::fprintf(out_, "%s end %zu %s\n", stamp().c_str(), end, what.c_str());
    std::fflush(out_);
}
}
