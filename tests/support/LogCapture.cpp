#include "support/LogCapture.h"

#include <cstdio>
#include <mutex>

#include "muduo/base/Logging.h"

namespace test
{
namespace
{
std::mutex g_mutex;
std::string g_text;

void captureOutput(const char* msg, int len)
{
    ::fwrite(msg, 1, static_cast<size_t>(len), stdout);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_text.append(msg, static_cast<size_t>(len));
}
}

LogCapture::LogCapture()
{
    clear();
    muduo::Logger::setOutput(captureOutput);
}

LogCapture::~LogCapture() { muduo::Logger::setOutput(nullptr); }

std::string LogCapture::text() const
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_text;
}

int LogCapture::count(const std::string& needle) const
{
    std::string all = text();
    int n = 0;
    for (size_t pos = all.find(needle); pos != std::string::npos; pos = all.find(needle, pos + needle.size()))
        ++n;
    return n;
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    g_text.clear();
}
}
