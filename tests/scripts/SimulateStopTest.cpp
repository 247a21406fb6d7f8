// scripts/simulate stopped as its user stops it: run in a terminal (a
// pseudo-terminal), left until the status line shows, then Ctrl-C typed, q
// typed or SIGTERM sent. Each stop must end the script with its status and
// its last line, and leave nothing of the board behind: no process, no SNMP
// agent table in /dev/shm, no network namespace. Each test runs in a network
// namespace of its own, so the master's fixed ports are its own.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/agentlink/AgentLinkLayout.h"
#include "support/NetNamespace.h"
#include "support/TempBoard.h"

namespace
{
typedef std::chrono::steady_clock Clock;

const char kCtrlC = '\x03';
const char* const kBanner = "q or Ctrl-C stops";
// The first run also checks the build, which is up to date by now.
const int kStartSeconds = 240;

Clock::time_point after(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// scripts/simulate in a terminal of its own, on a fresh board root.
class Simulation
{
public:
    Simulation(const std::string& root, int slaves) : root_(root)
    {
        pid_ = ::forkpty(&terminal_, nullptr, nullptr, nullptr);
        if (pid_ == 0)
        {
            ::setenv("RAILBOX_ROOT", root.c_str(), 1);
            ::setenv("RAILBOX_BUILD", RAILBOX_BINARY_DIR, 1);
            const std::string script = test::sourcePath("scripts/simulate");
            const std::string count = std::to_string(slaves);
            if (slaves > 0)
                ::execl(script.c_str(), script.c_str(), "--slaves", count.c_str(), static_cast<char*>(nullptr));
            else
                ::execl(script.c_str(), script.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Simulation()
    {
        if (pid_ > 0 && !ended_)
        {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (terminal_ >= 0)
            ::close(terminal_);
    }

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }

    // Reads what the terminal shows until it shows text (after from), or
    // for seconds; false when it did not.
    bool waitFor(const std::string& text, double seconds, size_t from = 0)
    {
        const Clock::time_point end = after(seconds);
        while (output_.find(text, from) == std::string::npos)
        {
            if (Clock::now() >= end || !readFor(end))
                return false;
        }
        return true;
    }
    void linger(double seconds)
    {
        const Clock::time_point end = after(seconds);
        while (Clock::now() < end && readFor(end))
        {
        }
    }
    void type(char c) { ASSERT_EQ(1, ::write(terminal_, &c, 1)); }
    // The process group the terminal's Ctrl-C goes to.
    pid_t foreground() const { return ::tcgetpgrp(terminal_); }

    // Its exit status once it ended (128 + N when signal N ended it), -1 when
    // it still runs after seconds.
    int exitStatus(double seconds)
    {
        const Clock::time_point end = after(seconds);
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0)
        {
            if (Clock::now() >= end)
                return -1;
            if (!readFor(std::min(end, Clock::now() + std::chrono::milliseconds(100))))
                ::usleep(50 * 1000);
        }
        ended_ = true;
        linger(0.2);  // what it wrote last
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // Processes running on the board, zombies aside.
    std::vector<std::string> processesLeft() const
    {
        std::vector<std::string> left;
        DIR* proc = ::opendir("/proc");
        for (dirent* e = proc ? ::readdir(proc) : nullptr; e; e = ::readdir(proc))
        {
            const std::string dir = std::string("/proc/") + e->d_name;
            if (e->d_name[0] < '0' || e->d_name[0] > '9' || slurp(dir + "/stat").find(") Z ") != std::string::npos)
                continue;
            std::string environ = slurp(dir + "/environ");
            environ.insert(environ.begin(), '\0');
            std::string command = slurp(dir + "/cmdline");
            for (char& c : command)
                c = c ? c : ' ';
            const std::string own = std::string(1, '\0') + "RAILBOX_ROOT=" + root_;
            const size_t at = environ.find(own);
            if (at != std::string::npos && (environ[at + own.size()] == '\0' || environ[at + own.size()] == '/'))
                left.push_back(std::string(e->d_name) + ": " + command);
        }
        if (proc)
            ::closedir(proc);
        return left;
    }

private:
    // False when nothing more comes: the terminal closed, or end passed.
    bool readFor(Clock::time_point end)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        pollfd p = {terminal_, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0)
            return false;
        char chunk[4096];
        const ssize_t n = ::read(terminal_, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        output_.append(chunk, static_cast<size_t>(n));
        return true;
    }

    std::string root_;
    int terminal_ = -1;
    pid_t pid_ = -1;
    bool ended_ = false;
    std::string output_;
};

enum class Stop
{
    kCtrlC,
    kQ,
    kSigterm,
};

// Holds the master's daemon still, as a debugger would, so that it stops
// only when killed.
void holdDaemon(const std::string& root)
{
    const std::string pid = slurp(root + "/run/railbox.pid");
    ASSERT_FALSE(pid.empty()) << "no daemon on " << root;
    ASSERT_EQ(0, ::kill(std::stoi(pid), SIGSTOP));
}

// One run: started with slaves, stopped by how, after seconds from when
// the terminal showed mark (the status line, or a line of the start-up);
// held: its master's daemon held still first.
void runAndStop(int slaves, Stop how, const std::string& mark, double seconds, bool held = false)
{
    const std::string root = test::makeTempDir("rb-simulate");
    std::vector<std::string> units = {root};
    if (slaves > 0)
    {
        units = {root + "/master"};
        for (int k = 1; k <= slaves; ++k)
            units.push_back(root + "/slave" + std::to_string(k));
    }
    const std::string context = "board " + root + ", " + std::to_string(seconds) + " s after \"" + mark + "\"";
    {
        Simulation run(root, slaves);
        ASSERT_TRUE(run.started());
        if (!run.waitFor(mark, kStartSeconds))
        {
            ADD_FAILURE() << context << ": never showed it:\n" << run.output();
            return;
        }
        run.linger(seconds);
        const pid_t script = run.pid();
        // Ctrl-C reaches the script alone, which stops the rest in order
        // (once started, it waits for keys with no process of its own).
        EXPECT_EQ(script, run.foreground()) << context;
        const bool waitingForKeys = run.output().find(kBanner) != std::string::npos;
        for (const std::string& p : run.processesLeft())
        {
            if (waitingForKeys && std::stoi(p) != script)
            {
                EXPECT_NE(script, ::getpgid(std::stoi(p))) << context << ": in the terminal's group: " << p;
            }
        }
        if (held)
            holdDaemon(units[0]);
        if (how == Stop::kCtrlC)
            run.type(kCtrlC);
        else if (how == Stop::kQ)
            run.type('q');
        else
            ::kill(script, SIGTERM);
        const int status = run.exitStatus(60);
        EXPECT_EQ(how == Stop::kQ ? 0 : 130, status) << context << ":\n" << run.output();
        EXPECT_NE(std::string::npos, run.output().find("simulate: stopped; board root left in " + root))
            << context << ":\n"
            << run.output();
        const std::vector<std::string> left = run.processesLeft();
        for (const std::string& p : left)
            ADD_FAILURE() << context << ": still runs: " << p;
        for (const std::string& unit : units)
        {
            const std::string table = "/dev/shm" + agentlink::segmentName(unit);
            EXPECT_NE(0, ::access(table.c_str(), F_OK)) << context << ": left " << table;
            ::unlink(table.c_str());
        }
        for (int k = 1; k <= slaves; ++k)
        {
            const std::string ns = "rb" + std::to_string(script) + "-slave" + std::to_string(k);
            EXPECT_NE(0, ::access(("/run/netns/" + ns).c_str(), F_OK)) << context << ": left namespace " << ns;
        }
        for (const std::string& p : left)  // so that one failure does not spoil the next runs
            ::kill(std::stoi(p), SIGKILL);
    }
    test::removeTree(root);
}

// Its own line, not the banner's "(outlets from 0"; in a chain, the master's.
const char* const kStatusLine = "\noutlets ";
const char* const kMastersStatusLine = "master: outlets ";

TEST(SimulateStopTest, CtrlCStopsItCleanlyTenTimesInARow)
{
    RAILBOX_RUN_IN_NETNS();
    for (int run = 0; run < 10 && !::testing::Test::HasFailure(); ++run)
        runAndStop(0, Stop::kCtrlC, kStatusLine, 1.0 + run % 4);
}

TEST(SimulateStopTest, CtrlCStopsAChainCleanly)
{
    RAILBOX_RUN_IN_NETNS();
    runAndStop(1, Stop::kCtrlC, kMastersStatusLine, 3.0);
    runAndStop(1, Stop::kCtrlC, kBanner, 0.5);
}

TEST(SimulateStopTest, CtrlCDuringStartUpStopsWhatStarted)
{
    RAILBOX_RUN_IN_NETNS();
    // The units start as the first line shows: some before, some after.
    for (double after : {0.0, 0.1, 0.2})
        runAndStop(0, Stop::kCtrlC, "simulate: board root", after);
    runAndStop(1, Stop::kCtrlC, "slave 1: board root", 0.3);
}

// A daemon slow to stop (a slow disk, a debugger) is killed after a while.
TEST(SimulateStopTest, CtrlCStopsADaemonThatDoesNotStop)
{
    RAILBOX_RUN_IN_NETNS();
    runAndStop(0, Stop::kCtrlC, kStatusLine, 1.0, true);
}

TEST(SimulateStopTest, QAndSigtermStopItCleanly)
{
    RAILBOX_RUN_IN_NETNS();
    runAndStop(0, Stop::kQ, kStatusLine, 2.0);
    runAndStop(1, Stop::kQ, kMastersStatusLine, 2.0);
    runAndStop(0, Stop::kSigterm, kStatusLine, 2.0);
    runAndStop(1, Stop::kSigterm, kMastersStatusLine, 2.0);
}
}
