#pragma once
#include <cstddef>
#include <cstdint>
#include <sys/types.h>

// Requests to the board's device files. On the unit they are ioctl(2) and
// write(2) on character devices. On a simulated board the device file is a
// stand-in (FIFO, socket, pty or plain file), which cannot take an ioctl, so
// each request travels in-band as a record the stand-in can read in order:
//   ioctl: 'I', request (u32 big-endian), argument size (u32 BE), argument
//   write: 'W', length (u32 BE), 0 (u32), the bytes
// Only devices that take ioctls (LCD, beeper, watchdog) use these.
namespace board
{
// The argument size comes from the request code (_IOC_SIZE).
int deviceIoctl(int fd, unsigned long request, void* arg);
ssize_t deviceWrite(int fd, const void* data, size_t length);

constexpr uint8_t kIoctlRecord = 'I';
constexpr uint8_t kWriteRecord = 'W';
constexpr size_t kRecordHeader = 9;
}
