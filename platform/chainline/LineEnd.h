#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "PmPty.h"

namespace chainline
{
// One unit's end of the shared line: a pseudo-terminal whose slave side the
// unit opens through its link (the board's dev/ttyS3). The slave is not held
// open here, so a unit closing its end shows as a hang-up, and an end that
// no unit has open hears nothing, as a unit that is off.
class LineEnd
{
public:
    bool open(const std::string& linkPath, std::string& error);
    void close() { pty_.close(); }

    int fd() const { return pty_.masterFd(); }
    const std::string& slavePath() const { return pty_.slavePath(); }
    bool unitPresent() const { return present_; }

    // Looks whether a unit has the end open; true when that changed.
    bool refresh();
    // What the unit wrote, up to max bytes; 0 when nothing is waiting. A
    // hang-up found here marks the unit gone.
    size_t read(uint8_t* out, size_t max);
    // Hands bytes to the unit; what its full input cannot take is lost, as
    // on a UART nobody reads. Returns the bytes lost.
    size_t write(const uint8_t* data, size_t n);

private:
    pmemu::PmPty pty_;
    bool present_ = false;
};
}
