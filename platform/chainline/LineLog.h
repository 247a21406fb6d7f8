#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace chainline
{
// The line's log: one line per event, stamped with the host's UTC time to the
// microsecond ("20261206 16:36:04.123456"). What an end wrote goes out as hex,
// 32 bytes a line:
//   20261206 16:36:04.123456 end 1 > a5 01 07 ...
// Each line is flushed, so the log can be read while the line runs. A log
// file is bounded: once it holds maxBytes it becomes FILE.1 (replacing the
// one before) and a new FILE begins, so at most twice that is kept.
class LineLog
{
public:
    static constexpr long kDefaultMaxBytes = 2L << 20;

    // Writes to out, unbounded (standard output).
    explicit LineLog(FILE* out) : out_(out) {}
    ~LineLog();
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    // Appends to the file at path from now on; false with a reason.
    bool open(const std::string& path, long maxBytes, std::string& error);

    void wrote(size_t end, const uint8_t* data, size_t n);
    void note(size_t end, const std::string& what);

private:
    static std::string stamp();
    void count(int written);
    // After a whole event: a full file is moved aside and a new one begun.
    void rotateWhenFull();

    FILE* out_;
    std::string path_;  // empty: out_ is not ours
    long maxBytes_ = 0;
    long bytes_ = 0;
};
}
