#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "LineEnd.h"
#include "LineLog.h"

namespace chainline
{
// The one half-duplex line the units share. Every byte an end writes goes
// to all the other ends whose unit is there (never back to the writer),
// paced at the line's rate: 8N1 takes ten bit times a byte, and a byte
// reaches the others when its last bit is on the wire. Bytes written by two
// units at once are serialised in the order they arrived here.
class SharedLine
{
public:
    SharedLine(std::vector<std::unique_ptr<LineEnd>> ends, LineLog& log, int baud);

    // Serves the line until stopFd turns readable.
    void serve(int stopFd);

private:
    struct Chunk
    {
        size_t from;
        std::vector<uint8_t> bytes;
        int64_t start;  // when its first bit goes on the wire (monotonic ns)
        size_t sent;
    };

    static int64_t now();
    void take(size_t end, int64_t at);
    void deliver(int64_t at);
    void send(const Chunk& chunk, size_t count);
    void noteChanges();
    int64_t wireNanos(size_t bytes) const;
    // Nanoseconds until the next byte is due or an absent end is looked at
    // again; -1 for none.
    int64_t pollTimeout(int64_t at) const;

    std::vector<std::unique_ptr<LineEnd>> ends_;
    std::vector<bool> present_;
    std::vector<size_t> lost_;
    LineLog& log_;
    const int64_t baud_;
    std::deque<Chunk> queue_;
    size_t queued_ = 0;
    int64_t lineFree_ = 0;
};
}
