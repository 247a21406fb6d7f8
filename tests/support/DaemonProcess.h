#pragma once
#include <sys/types.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace pmemu
{
class PmPty;
class PowerModuleEmulator;
}

namespace test
{
// The real railbox as a child process on a fresh board root of its own
// (platform/board/make-board.sh), each start in a network namespace of its
// own, with the board's live stand-ins: the power-module emulator on
// /dev/ttyS10, a pseudo-terminal on /dev/ttyS3 and writers held on the
// /dev/key and /dev/temp_hum FIFOs. Output (stdout and stderr) goes to
// ROOT/railbox.out.
class DaemonProcess
{
public:
    DaemonProcess();
    ~DaemonProcess();
    DaemonProcess(const DaemonProcess&) = delete;
    DaemonProcess& operator=(const DaemonProcess&) = delete;

    const std::string& root() const { return root_; }
    std::string database(const std::string& file) const { return root_ + "/var/www/database/" + file; }
    pmemu::PowerModuleEmulator& emulator() { return *emulator_; }

    // Starts railbox with the arguments in a new network namespace.
    bool start(const std::vector<std::string>& args = {});
    // Starts a further copy on the same board, inside the namespace of the
    // one already running.
    bool startAnother(const std::vector<std::string>& args = {});
    // Exit code (0 to 255) of the last started process; -1 when it did not
    // end in time or was killed by a signal.
    int waitExit(double timeoutSeconds);
    bool running();
    // SIGTERM, then SIGKILL after a grace time; also drops the agent tables.
    void stop();

    std::string output() const;
    bool waitForOutput(const std::string& text, double timeoutSeconds) const;

    // Runs a shell command in the first daemon's network namespace; its
    // standard output, and its exit status in *status when given.
    std::string runInNamespace(const std::string& command, int* status = nullptr) const;
    // Listening sockets in the namespace as "udp 127.0.0.1:8888", "tcp 0.0.0.0:502".
    std::set<std::string> listening() const;
    // Waits until every one of these is listening.
    bool waitListening(const std::vector<std::string>& expected, double timeoutSeconds) const;

    // Writes bytes to a board device FIFO, e.g. "/dev/key".
    void writeDevice(const std::string& boardPath, const std::string& bytes);

private:
    pid_t spawn(const std::vector<std::string>& prefix, const std::vector<std::string>& args);
    bool namespaceReady() const;

    std::string root_;
    std::unique_ptr<pmemu::PowerModuleEmulator> emulator_;
    std::unique_ptr<pmemu::PmPty> cascade_;
    int fifoFds_[2] = {-1, -1};
    pid_t first_ = -1;  // owns the namespace
    pid_t last_ = -1;
    std::vector<pid_t> children_;
};
}
