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
// Each line is flushed, so the log can be read while the line runs.
class LineLog
{
public:
    explicit LineLog(FILE* out) : out_(out) {}

    void wrote(size_t end, const uint8_t* data, size_t n);
    void note(size_t end, const std::string& what);

private:
    static std::string stamp();

    FILE* out_;
};
}
