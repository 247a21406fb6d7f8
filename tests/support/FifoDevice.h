#pragma once
#include <string>

namespace test
{
// A stream device of the board (/dev/key, /dev/temp_hum) as a FIFO below the
// board root, with a writer end held open for the object's life, so the
// reader never sees a hang-up between records.
class FifoDevice
{
public:
    explicit FifoDevice(const std::string& boardPath);
    ~FifoDevice();
    FifoDevice(const FifoDevice&) = delete;
    FifoDevice& operator=(const FifoDevice&) = delete;

    // Writes all bytes (a FIFO holds 64 KiB, far more than a test sends).
    void write(const std::string& bytes);
    const std::string& path() const { return path_; }

private:
    std::string path_;
    int fd_;
};
}
