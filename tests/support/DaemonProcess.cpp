#include "support/DaemonProcess.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/agentlink/AgentLinkLayout.h"
#include "platform/pmemu/PowerModuleEmulator.h"
#include "support/TempBoard.h"

extern char** environ;

namespace test
{
namespace
{
using Clock = std::chrono::steady_clock;

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

bool waitFor(const std::function<bool()>& done, double timeoutSeconds)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!done())
    {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A zombie: ended, not yet reaped.
bool ended(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const size_t paren = line.rfind(')');
    return paren == std::string::npos || line.compare(paren + 1, 3, " Z ") == 0;
}

ino_t netNamespaceOf(const std::string& pid)
{
    struct stat st;
    return ::stat(("/proc/" + pid + "/ns/net").c_str(), &st) == 0 ? st.st_ino : 0;
}
}

DaemonProcess::DaemonProcess() : root_(makeTempDir("railbox-daemon"))
{
    const std::string make = sourcePath("platform/board/make-board.sh") + " " + shellQuote(root_) + " >/dev/null";
    if (::system(make.c_str()) != 0)
        throw std::runtime_error("make-board.sh failed for " + root_);
    emulator_ = std::make_unique<pmemu::PowerModuleEmulator>(root_ + "/dev/ttyS10");
    cascade_ = std::make_unique<pmemu::PmPty>();
    std::string error;
    if (!emulator_->start(&error) || !cascade_->open(root_ + "/dev/ttyS3", error))
        throw std::runtime_error("board stand-ins: " + error);
    fifoFds_[0] = ::open((root_ + "/dev/key").c_str(), O_RDWR | O_CLOEXEC);
    fifoFds_[1] = ::open((root_ + "/dev/temp_hum").c_str(), O_RDWR | O_CLOEXEC);
    if (fifoFds_[0] < 0 || fifoFds_[1] < 0)
        throw std::runtime_error("cannot hold the board's FIFOs open");
}

DaemonProcess::~DaemonProcess()
{
    stop();
    for (int fd : fifoFds_)
        if (fd >= 0)
            ::close(fd);
    cascade_->close();
    emulator_->stop();
    removeTree(root_);
}

pid_t DaemonProcess::spawn(const std::vector<std::string>& prefix, const std::vector<std::string>& args)
{
    std::vector<std::string> words = prefix;
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(&w[0]);
    argv.push_back(nullptr);
    std::vector<std::string> env{"RAILBOX_ROOT=" + root_};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).compare(0, 13, "RAILBOX_ROOT=") != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    const int out = ::open((root_ + "/railbox.out").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (out < 0)
        return -1;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a crashed test
        if (::getppid() != parent)
            ::_exit(126);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execvpe(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out);
    if (pid > 0)
        children_.push_back(pid);
    last_ = pid;
    return pid;
}

bool DaemonProcess::start(const std::vector<std::string>& args)
{
    const char* const inNewNamespace = "ip link set lo up && exec \"$0\" \"$@\"";
    first_ = spawn({"unshare", "-n", "sh", "-c", inNewNamespace, buildPath("railbox")}, args);
    return first_ > 0 && waitFor([this] { return namespaceReady() || ended(first_); }, 10);
}

bool DaemonProcess::startAnother(const std::vector<std::string>& args)
{
    if (first_ <= 0 || !namespaceReady())
        return false;
    return spawn({"nsenter", "--net=/proc/" + std::to_string(first_) + "/ns/net", buildPath("railbox")}, args) > 0;
}

int DaemonProcess::waitExit(double timeoutSeconds)
{
    int status = 0;
    pid_t pid = last_;
    if (pid <= 0 || !waitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, timeoutSeconds))
        return -1;
    children_.erase(std::remove(children_.begin(), children_.end(), pid), children_.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool DaemonProcess::running()
{
    return first_ > 0 && std::find(children_.begin(), children_.end(), first_) != children_.end()
           && ::waitpid(first_, nullptr, WNOHANG) == 0;
}

void DaemonProcess::stop()
{
    for (pid_t pid : children_)
        ::kill(pid, SIGTERM);
    for (pid_t pid : children_)
    {
        if (!waitFor([pid] { return ::waitpid(pid, nullptr, WNOHANG) != 0; }, 5))
        {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    children_.clear();
    // A killed daemon leaves the agent tables behind.
    ::shm_unlink(agentlink::segmentName(agentlink::normalizedRoot(root_.c_str())).c_str());
}

std::string DaemonProcess::output() const
{
    std::ifstream in(root_ + "/railbox.out");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool DaemonProcess::waitForOutput(const std::string& text, double timeoutSeconds) const
{
    return waitFor([&] { return output().find(text) != std::string::npos; }, timeoutSeconds);
}

bool DaemonProcess::namespaceReady() const
{
    const ino_t ns = netNamespaceOf(std::to_string(first_));
    return ns != 0 && ns != netNamespaceOf("self");
}

std::string DaemonProcess::runInNamespace(const std::string& command, int* status) const
{
    std::string result;
    if (first_ <= 0 || !namespaceReady())
    {
        if (status)
            *status = -1;
        return result;
    }
    const std::string line =
        "nsenter --net=/proc/" + std::to_string(first_) + "/ns/net sh -c " + shellQuote(command) + " 2>/dev/null";
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return result;
    char chunk[4096];
    size_t n;
    while ((n = ::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        result.append(chunk, n);
    const int rc = ::pclose(pipe);
    if (status)
        *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return result;
}

std::set<std::string> DaemonProcess::listening() const
{
    std::set<std::string> sockets;
    std::istringstream lines(runInNamespace("ss -Hlunt"));
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string netid, state, recvQ, sendQ, local;
        if (fields >> netid >> state >> recvQ >> sendQ >> local)
            sockets.insert(netid + " " + local);
    }
    return sockets;
}

bool DaemonProcess::waitListening(const std::vector<std::string>& expected, double timeoutSeconds) const
{
    return waitFor(
        [&] {
            const std::set<std::string> now = listening();
            for (const std::string& socket : expected)
                if (!now.count(socket))
                    return false;
            return true;
        },
        timeoutSeconds);
}

void DaemonProcess::writeDevice(const std::string& boardPath, const std::string& bytes)
{
    const int fd = ::open((root_ + boardPath).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + boardPath);
    ::close(fd);
}
}
