#pragma once
#include <string>

// A line-based client of the power-module emulator's control socket: one
// command out, one answer line back. Reconnects when the emulator restarts.
class PmControlClient
{
public:
    explicit PmControlClient(std::string socketPath) : path_(std::move(socketPath)) {}
    ~PmControlClient();
    PmControlClient(const PmControlClient&) = delete;
    PmControlClient& operator=(const PmControlClient&) = delete;

    // The answer ("ok", "error: ...", a status line); empty when unreachable.
    std::string command(const std::string& line);

private:
    bool connect();
    void disconnect();

    std::string path_;
    int fd_ = -1;
};
