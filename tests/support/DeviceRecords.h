#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace test
{
// One request that reached a stand-in device file (see BoardDevice.h):
// an ioctl with its request code and argument bytes, or a write with its bytes.
struct DeviceRecord
{
    char kind = 0;  // 'I' ioctl, 'W' write
    uint32_t request = 0;  // the ioctl's request code; the length for a write
    std::string arg;

    bool isIoctl(uint32_t code) const { return kind == 'I' && request == code; }
    // The i-th native int of the argument (the ioctl arguments are int arrays).
    int32_t intAt(size_t i) const
    {
        int32_t v = 0;
        if (arg.size() >= 4 * (i + 1))
            std::memcpy(&v, arg.data() + 4 * i, 4);
        return v;
    }
    std::vector<int32_t> ints() const
    {
        std::vector<int32_t> out;
        for (size_t i = 0; i < arg.size() / 4; ++i)
            out.push_back(intAt(i));
        return out;
    }
};

struct DeviceRecordStream
{
    std::vector<DeviceRecord> records;
    size_t leftover = 0;  // bytes after the last whole record (garbage or a cut record)
};

// Splits the bytes of a stand-in device file into records.
DeviceRecordStream parseDeviceRecords(const std::string& bytes);
// The whole stand-in file at a board path (mapped below the board root).
DeviceRecordStream readDeviceRecords(const std::string& boardPath);
// Makes an empty plain file at a board path (creating its folders) that
// collects the requests of a device such as /dev/beeper or /dev/watchdog.
void makeRecordingDevice(const std::string& boardPath);
}
