#include "PmControlServer.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "PmControlCommands.h"

namespace pmemu
{
namespace
{
constexpr size_t kMaxLine = 1024;

void writeAll(int fd, const std::string& text)
{
    for (size_t done = 0; done < text.size();)
    {
        const ssize_t n = ::send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}
}

PmControlServer::~PmControlServer()
{
    for (const auto& c : clients_)
        ::close(c.first);
    if (listen_ >= 0)
    {
        ::close(listen_);
        ::unlink(path_.c_str());
    }
}

bool PmControlServer::open(const std::string& path, std::string& error)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path)
    {
        error = "bad control socket path: " + path;
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::unlink(path.c_str());
    if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
        || ::listen(listen_, 8) != 0)
    {
        error = "control socket " + path + ": " + std::strerror(errno);
        return false;
    }
    path_ = path;
    return true;
}

void PmControlServer::serve(int stopFd)
{
    for (;;)
    {
        std::vector<pollfd> fds{{stopFd, POLLIN, 0}, {listen_, POLLIN, 0}};
        for (const auto& c : clients_)
            fds.push_back({c.first, POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            accept();
        for (size_t i = 2; i < fds.size(); ++i)
        {
            if (fds[i].revents && !readClient(fds[i].fd))
            {
                ::close(fds[i].fd);
                clients_.erase(fds[i].fd);
            }
        }
    }
}

void PmControlServer::accept()
{
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0)
        clients_[fd];
}

bool PmControlServer::readClient(int fd)
{
    char buf[512];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0)
        return false;
    std::string& pending = clients_[fd];
    pending.append(buf, static_cast<size_t>(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;)
    {
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        writeAll(fd, PmControlCommands::execute(emulator_, line) + "\n");
    }
    return pending.size() <= kMaxLine;  // an endless line is not a client
}
}
