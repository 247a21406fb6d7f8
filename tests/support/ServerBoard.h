#pragma once
#include <functional>
#include <memory>
#include <string>

class PduServer;
namespace muduo
{
namespace net
{
class EventLoop;
}
}
namespace pmemu
{
class PmPty;
class PowerModuleEmulator;
}

namespace test
{
class FifoDevice;

// A PduServer built inside the test program on its own board root, with the
// board's stand-ins live: the power-module emulator on /dev/ttyS10, a
// pseudo-terminal on /dev/ttyS3, FIFOs on /dev/key and /dev/temp_hum, plain
// /dev/lcd and /dev/beeper, and a fresh factory set of databases. The
// servers listen on loopback ports the system picks. One at a time.
class ServerBoard
{
public:
    ServerBoard();
    ~ServerBoard();
    ServerBoard(const ServerBoard&) = delete;
    ServerBoard& operator=(const ServerBoard&) = delete;

    pmemu::PowerModuleEmulator& emulator() { return *emulator_; }
    // The far end of the cascade line (/dev/ttyS3).
    pmemu::PmPty& cascadeLine() { return *cascade_; }
    muduo::net::EventLoop& loop() { return *loop_; }
    std::string database(const std::string& file) const;

    // Loads the device record from the databases (change them first), lets
    // adjust change it, and builds the server; it is not started.
    PduServer& build(const std::function<void()>& adjust = nullptr);
    PduServer& server() { return *server_; }
    // Runs the loop until done() holds or the time-out passes.
    bool runUntil(const std::function<bool()>& done, double timeoutSeconds);

private:
    std::unique_ptr<pmemu::PowerModuleEmulator> emulator_;
    std::unique_ptr<pmemu::PmPty> cascade_;
    std::unique_ptr<FifoDevice> key_;
    std::unique_ptr<FifoDevice> tempHum_;
    std::unique_ptr<muduo::net::EventLoop> loop_;
    std::unique_ptr<PduServer> server_;
};
}
