#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The cascade frames in a chainline log (platform/chainline: "DATE TIME end K
// > hex..." per write), reassembled per end: who wrote each, when its first
// and last byte reached the line, its address, sequence, code and size.
class CascadeLineLog
{
public:
    struct Frame
    {
        size_t end = 0;
        double first = 0;  // seconds of the day, UTC
        double last = 0;
        int address = 0;
        int sequence = 0;
        int code = 0;
        size_t bytes = 0;
    };
    // Medians of the master's status polls that were followed by the next
    // poll after the pause: the exchange (poll written to next frame less
    // the pause), the wire time of poll and answer, their ratio, and the
    // time between two polls.
    struct PollFigures
    {
        size_t polls = 0;
        double exchangeMs = 0;
        double wireMs = 0;
        double ratio = 0;
        double periodMs = 0;
    };

    explicit CascadeLineLog(double baud = 38400) : baud_(baud) {}

    // Reads the lines added since the last call.
    void read(const std::string& file);
    // Adds one log line.
    void add(const std::string& line);
    const std::vector<Frame>& frames() const { return frames_; }

    double wireSeconds(size_t bytes) const { return static_cast<double>(bytes) * 10 / baud_; }
    // The answer to frame i (the next frame of another end with its sequence),
    // or -1.
    long answerTo(size_t i) const;
    PollFigures polls(double pauseSeconds) const;

    static double median(std::vector<double> values);

private:
    struct Stream
    {
        std::vector<uint8_t> bytes;
        double first = 0;
    };

    double baud_;
    size_t offset_ = 0;
    std::vector<Stream> streams_;
    std::vector<Frame> frames_;
};
