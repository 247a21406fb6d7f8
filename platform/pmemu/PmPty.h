#pragma once
#include <string>

namespace pmemu
{
// A pseudo-terminal whose slave side is in raw mode and reachable through a
// symbolic link (the board's serial device path). By default the slave stays
// open here too, so the master never sees a hang-up while the daemon reopens
// the port; without holdSlave the master sees one whenever no one has the
// slave open.
class PmPty
{
public:
    PmPty() = default;
    ~PmPty();
    PmPty(const PmPty&) = delete;
    PmPty& operator=(const PmPty&) = delete;

    // Opens the pty and creates the link (replacing an old link, never a
    // regular file); false with a reason in error.
    bool open(const std::string& linkPath, std::string& error, bool holdSlave = true);
    // Removes the link when it still points here, and closes both sides.
    void close();

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& linkPath() const { return linkPath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};
}
