#pragma once
// The real railbox on a fresh board of its own, seen from outside the way a
// person at the unit would see it: files of the board, real client programs
// run in its network namespace, and the process itself (for kill -9).
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/DaemonProcess.h"
#include "support/DeviceRecords.h"
#include "support/Emulation.h"
#include "support/TempBoard.h"

namespace e2e
{
using Clock = std::chrono::steady_clock;

inline bool waitUntil(const std::function<bool()>& done, double timeoutSeconds, int stepMillis = 50)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!done())
    {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMillis));
    }
    return true;
}

// Standard output of a shell command run on the host (file tools only).
inline std::string hostCommand(const std::string& command, int* status = nullptr)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char chunk[4096];
    size_t n;
    while ((n = ::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.append(chunk, n);
    const int rc = ::pclose(pipe);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

inline std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

class E2eBoard : public test::DaemonProcess
{
public:
    std::string file(const std::string& boardPath) const
    {
        std::ifstream in(root() + boardPath, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void writeFile(const std::string& boardPath, const std::string& text) const
    {
        std::ofstream(root() + boardPath, std::ios::binary | std::ios::trunc) << text;
    }

    // sqlite3, the command-line shell, on one of the board's databases; it
    // waits while the daemon holds the database's lock.
    std::string sql(const std::string& database, const std::string& statements, int* status = nullptr) const
    {
        return trimmed(hostCommand("sqlite3 -batch -cmd '.timeout 3000' " + quote(this->database(database)) + " "
                                       + quote(statements) + " 2>&1",
                                   status));
    }
    std::string sh(const std::string& command, int* status = nullptr) const
    {
        return runInNamespace(command + " 2>&1", status);
    }

    // The daemon's process: the one below this board root running railbox.
    pid_t daemonPid() const
    {
        const std::string marker = "RAILBOX_ROOT=" + root();
        DIR* proc = ::opendir("/proc");
        pid_t found = -1;
        while (dirent* entry = proc ? ::readdir(proc) : nullptr)
        {
            const std::string pid = entry->d_name;
            if (pid.find_first_not_of("0123456789") != std::string::npos)
                continue;
            const std::string exe = test::programOf(pid);
            if (exe.size() < 8 || exe.rfind("/railbox") + 8 != exe.size())
                continue;
            std::ifstream env("/proc/" + pid + "/environ", std::ios::binary);
            std::string entryText;
            while (std::getline(env, entryText, '\0'))
                if (entryText == marker)
                    found = std::stoi(pid);
        }
        if (proc)
            ::closedir(proc);
        return found;
    }
    void kill9() const
    {
        const pid_t pid = daemonPid();
        if (pid > 0)
            ::kill(pid, SIGKILL);
    }

    // A UDP socket that lives in the daemon's network namespace.
    int udpSocketInNamespace() const { return socketInNamespace(SOCK_DGRAM); }
    int socketInNamespace(int type) const
    {
        const pid_t pid = daemonPid();
        const int self = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
        const int target = pid > 0 ? ::open(("/proc/" + std::to_string(pid) + "/ns/net").c_str(), O_RDONLY | O_CLOEXEC)
                                   : -1;
        int fd = -1;
        if (self >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0)
        {
            fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
            ::setns(self, CLONE_NEWNET);
        }
        for (int f : {self, target})
            if (f >= 0)
                ::close(f);
        return fd;
    }

    // A socket of the daemon's namespace connected to its loopback port,
    // with a receive time-out; -1 (nothing left open) when it does not connect.
    int connectInNamespace(int type, uint16_t port, int receiveSeconds) const
    {
        const int fd = socketInNamespace(type);
        timeval wait = {receiveSeconds, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
            return fd;
        if (fd >= 0)
            ::close(fd);
        return -1;
    }

    // The daemon's resident memory in KiB, or -1.
    long daemonRssKilobytes() const
    {
        const std::string status = hostCommand("grep VmRSS /proc/" + std::to_string(daemonPid()) + "/status");
        const size_t digits = status.find_first_of("0123456789");
        return digits == std::string::npos ? -1 : std::stol(status.substr(digits));
    }

    // Requests that reached /dev/beeper, each as (count, on, off).
    std::vector<std::vector<int32_t>> beeper() const
    {
        std::vector<std::vector<int32_t>> out;
        for (const test::DeviceRecord& r : test::parseDeviceRecords(file("/dev/beeper")).records)
            out.push_back(r.ints());
        return out;
    }
    // The mail stand-in's calls: the arguments of each.
    std::vector<std::vector<std::string>> mails() const
    {
        std::vector<std::vector<std::string>> out(1);
        std::istringstream in(file("/var/log/email.log"));
        std::string line;
        while (std::getline(in, line))
        {
            if (line == "--end--")
                out.emplace_back();
            else
                out.back().push_back(line);
        }
        out.pop_back();
        return out;
    }
    // The SNMP mirror's words of one table, as agentlink-dump prints them.
    std::vector<int> mirror(int table) const
    {
        const std::string out = hostCommand(test::buildPath("platform/agentlink/agentlink-dump") + " --root "
                                            + quote(root()) + " " + std::to_string(table));
        std::vector<int> words;
        if (out.find(':') == std::string::npos)
            return words;
        std::istringstream in(out.substr(out.find(':') + 1));
        for (int w; in >> w;)
            words.push_back(w);
        return words;
    }

    // The board's wall clock runs this far from the host's (before a start).
    void setClockOffsetMicros(long long micros) const
    {
        hostCommand("mkdir -p " + quote(root() + "/var/lib/railbox"));
        writeFile("/var/lib/railbox/clock_offset", std::to_string(micros) + "\n");
    }
    long long clockOffsetMicros() const
    {
        const std::string text = file("/var/lib/railbox/clock_offset");
        return text.empty() ? 0 : std::stoll(text);
    }

    static std::string quote(const std::string& text)
    {
        std::string quoted = "'";
        for (char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }
};
}
