#pragma once
#include <string>

namespace test
{
// Collects every log line while it lives (and still prints them); one at a time.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const;
    int count(const std::string& needle) const;
    bool contains(const std::string& needle) const { return count(needle) > 0; }
    void clear();
};
}
