#include "PmControlClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

PmControlClient::~PmControlClient() { disconnect(); }

bool PmControlClient::connect()
{
    if (fd_ >= 0)
        return true;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return true;
    disconnect();
    return false;
}

void PmControlClient::disconnect()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::string PmControlClient::command(const std::string& line)
{
    if (!connect())
        return "";
    const std::string out = line + "\n";
    if (::send(fd_, out.data(), out.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(out.size()))
    {
        disconnect();
        return "";
    }
    std::string answer;
    char c;
    pollfd readable{fd_, POLLIN, 0};
    while (::poll(&readable, 1, 1000) == 1 && ::read(fd_, &c, 1) == 1)
    {
        if (c == '\n')
            return answer;
        answer += c;
    }
    disconnect();  // no whole answer: start afresh next time
    return "";
}
