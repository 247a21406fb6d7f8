#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/TempBoard.h"

namespace
{
// Reads one line from fd within the time-out ("" when none came).
std::string readLine(int fd, std::string& pending, int timeoutMs = 5000)
{
    for (;;)
    {
        const size_t eol = pending.find('\n');
        if (eol != std::string::npos)
        {
            std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            return line;
        }
        pollfd p{fd, POLLIN, 0};
        char buf[256];
        ssize_t n = 0;
        if (::poll(&p, 1, timeoutMs) <= 0 || (n = ::read(fd, buf, sizeof buf)) <= 0)
            return "";
        pending.append(buf, static_cast<size_t>(n));
    }
}

int connectUnix(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
    {
        ::close(fd);
        return -1;
    }
    return fd;
}
}

TEST(PmEmulatorProgramTest, ServesTheLineAndTheControlSocket)
{
    const std::string program = test::buildPath("platform/pmemu/pm-emulator");
    if (::access(program.c_str(), X_OK) != 0)
        GTEST_SKIP() << "pm-emulator not built";
    const std::string root = std::getenv("RAILBOX_ROOT");
    const std::string link = root + "/dev/ttyS10", control = root + "/pm.sock";
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
    {
        ::dup2(out[1], 1);
        ::execl(program.c_str(), program.c_str(), "--link", link.c_str(), "--control", control.c_str(), "--relays",
                "0x01", "--voltage", "240", "--current", "4=2.5", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string pending;
    EXPECT_NE(readLine(out[0], pending).find(link), std::string::npos);
    EXPECT_EQ(readLine(out[0], pending).rfind("relays=10000000 voltage=240.00", 0), 0u);

    const int line = ::open(link.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    const uint8_t on4[] = {0xA5, 0x02, 0x04, 0x01, 0x07};
    ASSERT_EQ(::write(line, on4, sizeof on4), 5);
    EXPECT_EQ(readLine(out[0], pending).rfind("relays=10001000 voltage=240.00 inlet=2.50A,600.00W", 0), 0u);

    const int ctl = connectUnix(control);
    ASSERT_GE(ctl, 0);
    ASSERT_EQ(::write(ctl, "voltage 250\n", 12), 12);
    std::string answers;
    EXPECT_EQ(readLine(ctl, answers), "ok");
    ::close(ctl);

    // Drain the relay reply, then read outlet 4's meter: 250 V, 2.5 A, 625 W.
    std::vector<uint8_t> got(6 + 22);
    const uint8_t meter4[] = {0xA5, 0x01, 0x04, 0x05};
    ASSERT_EQ(::write(line, meter4, sizeof meter4), 4);
    for (size_t have = 0; have < got.size();)
    {
        pollfd p{line, POLLIN, 0};
        ASSERT_GT(::poll(&p, 1, 5000), 0);
        const ssize_t n = ::read(line, got.data() + have, got.size() - have);
        ASSERT_GT(n, 0);
        have += static_cast<size_t>(n);
    }
    EXPECT_EQ(std::vector<uint8_t>(got.begin() + 6 + 3, got.begin() + 6 + 15),
              (std::vector<uint8_t>{0x00, 0xFA, 0x00, 0x00, 0x00, 0x02, 0x00, 0x32, 0x02, 0x71, 0x00, 0x00}));
    ::close(line);

    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat st;
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "the link goes with the emulator";
    EXPECT_NE(::lstat(control.c_str(), &st), 0);
    ::close(out[0]);
}
