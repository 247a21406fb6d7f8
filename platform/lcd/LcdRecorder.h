#pragma once
#include <string>

#include "LcdPanel.h"
#include "LcdRecordParser.h"

// Follows the stand-in of /dev/lcd (a FIFO it reads, or a plain file it
// tails) and keeps a PNG image of the panel up to date.
class LcdRecorder
{
public:
    struct Options
    {
        std::string device;
        std::string image;
        int scale = 2;
        bool once = false;  // a plain file: render what it holds, then exit
    };

    explicit LcdRecorder(Options options);
    // Returns the process exit code.
    int run();

    const LcdPanel& panel() const { return panel_; }

private:
    int followFifo(int fd);
    int followFile(int fd);
    void consume(const uint8_t* data, size_t length);
    bool render();

    Options options_;
    LcdPanel panel_;
    LcdRecordParser parser_;
    bool changed_ = false;
    uint64_t reportedRejects_ = 0;
};
