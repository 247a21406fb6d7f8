#pragma once
#include <map>
#include <string>

namespace pmemu
{
class PowerModuleEmulator;

// Serves the control language (PmControlCommands) on a UNIX stream socket:
// each line received gets one answer line.
class PmControlServer
{
public:
    explicit PmControlServer(PowerModuleEmulator& emulator) : emulator_(emulator) {}
    ~PmControlServer();
    PmControlServer(const PmControlServer&) = delete;
    PmControlServer& operator=(const PmControlServer&) = delete;

    // Binds the socket (replacing a stale one); false with a reason.
    bool open(const std::string& path, std::string& error);
    // Serves until stopFd becomes readable (or forever when it is -1).
    void serve(int stopFd);

private:
    void accept();
    bool readClient(int fd);  // false when the client is gone

    PowerModuleEmulator& emulator_;
    int listen_ = -1;
    std::string path_;
    std::map<int, std::string> clients_;  // fd -> partial line
};
}
