#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace test
{
// The shared cascade line (platform/chainline) joining the dev/ttyS3 of
// several board roots as a child of the test for the object's life; end k
// is roots[k]. Make it once the boards exist (a DaemonProcess's own
// stand-ins included) and before their daemons start: it takes over each
// root's dev/ttyS3 link. Its log is roots[0]/chainline.log; options go to
// the program before the links.
class ChainLineProcess
{
public:
    explicit ChainLineProcess(const std::vector<std::string>& roots, const std::vector<std::string>& options = {});
    ~ChainLineProcess();
    ChainLineProcess(const ChainLineProcess&) = delete;
    ChainLineProcess& operator=(const ChainLineProcess&) = delete;

    std::string log() const;
    const std::string& logFile() const { return logFile_; }
    // Waits until the log holds text at least times times.
    bool waitForLog(const std::string& text, double timeoutSeconds, int times = 1) const;

    // The cascade role in a board's pdu.db, read at the daemon's start:
    // address 0 makes the master of the slaves listed, any other a slave.
    static void setRole(const std::string& root, int address, const std::vector<int>& slaves = {});

private:
    void stop();

    std::string logFile_;
    pid_t pid_ = -1;
};
}
