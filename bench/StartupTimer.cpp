// Start-up time: from exec of a server command to its first answered Modbus
// request, over several starts; prints each and the median. Each start runs
// in a process group of its own, which is ended (SIGTERM, then SIGKILL)
// before the next.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "BenchOptions.h"
#include "ModbusProbe.h"

namespace
{
typedef std::chrono::steady_clock Clock;

pid_t launch(const std::vector<std::string>& command, const std::string& log)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0)
    {
        ::setpgid(0, 0);
        int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0)
        {
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
            ::close(fd);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid > 0)
        ::setpgid(pid, pid);
    return pid;
}

// True when the process ended within the time.
bool reap(pid_t pid, double seconds)
{
    Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    int status = 0;
    while (Clock::now() < end)
    {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || r < 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void stop(pid_t pid)
{
    ::kill(-pid, SIGTERM);
    if (!reap(pid, 5.0))
    {
        ::kill(-pid, SIGKILL);
        reap(pid, 5.0);
    }
}

// Milliseconds from exec to the first answer, or a negative value.
double timeOneStart(const BenchOptions& options, const std::vector<std::string>& command)
{
    std::string host = options.text("host", "127.0.0.1");
    int port = static_cast<int>(options.number("port", 502));
    double timeout = options.seconds("timeout", 30.0);
    Clock::time_point start = Clock::now();
    pid_t pid = launch(command, options.text("log", "/dev/null"));
    if (pid < 0)
        return -1;
    double ms = -1;
    uint16_t values[7];
    while (std::chrono::duration<double>(Clock::now() - start).count() < timeout)
    {
        ModbusProbe probe(host, port, 0.5);
        if (probe.connect() && probe.readInputRegisters(0, 7, values))
        {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
        {
            std::fprintf(stderr, "the server ended before answering\n");
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    stop(pid);
    return ms;
}
}

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    long runs = options.number("runs", 5);
    double pause = options.seconds("pause", 0.5);
    options.number("port", 502);
    options.seconds("timeout", 30.0);
    if (!options.ok() || runs < 1 || options.command().empty())
    {
        std::fprintf(stderr, "%s\nusage: bench_startup_timer [--port n] [--host ip] [--runs n] [--timeout s] "
                             "[--pause s] [--log file] -- command [args]\n",
                     options.ok() ? "a command is needed" : options.error().c_str());
        return 2;
    }
    std::vector<double> times;
    for (long i = 0; i < runs; ++i)
    {
        double ms = timeOneStart(options, options.command());
        if (ms < 0)
        {
            std::fprintf(stderr, "start %ld: no answer\n", i + 1);
            return 1;
        }
        std::printf("start=%ld ms=%.1f\n", i + 1, ms);
        std::fflush(stdout);
        times.push_back(ms);
        std::this_thread::sleep_for(std::chrono::duration<double>(pause));
    }
    std::sort(times.begin(), times.end());
    std::printf("runs=%ld startup_ms_median=%.1f startup_ms_min=%.1f startup_ms_max=%.1f\n", runs,
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
