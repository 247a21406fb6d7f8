#include "ProcSample.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
// The number after "key:" in /proc/<pid>/status, or -1.
long statusField(const std::string& status, const std::string& key)
{
    size_t at = status.find("\n" + key + ":");
    if (at == std::string::npos)
        return -1;
    std::istringstream in(status.substr(at + key.size() + 2));
    long value = -1;
    in >> value;
    return value;
}

// The sum of each thread's se.sum_exec_runtime (ms, to the ns) from its
// sched file; -1 when the kernel has none.
double threadRunSeconds(const std::string& dir)
{
    DIR* tasks = ::opendir((dir + "task").c_str());
    if (!tasks)
        return -1;
    double sum = 0;
    bool found = false;
    while (dirent* e = ::readdir(tasks))
    {
        if (e->d_name[0] == '.')
            continue;
        std::ifstream in(dir + "task/" + e->d_name + "/sched");
        std::string line;
        while (std::getline(in, line))
        {
            size_t colon = line.find(':');
            if (line.compare(0, 19, "se.sum_exec_runtime") == 0 && colon != std::string::npos)
            {
                sum += std::strtod(line.c_str() + colon + 1, nullptr) / 1000.0;
                found = true;
            }
        }
    }
    ::closedir(tasks);
    return found ? sum : -1;
}
}

bool ProcSample::take(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid) + "/";
    std::ifstream statFile(dir + "stat");
    std::string stat;
    if (!std::getline(statFile, stat))
        return false;
    // The command name may hold spaces; the fields after it are fixed:
    // state is field 3, utime 14 and stime 15.
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n)
    {
        if (n == 14)
            utime = std::stoull(field);
        if (n == 15)
            stime = std::stoull(field);
    }
    if (!fields)
        return false;
    cpuSeconds_ = static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));

    runSeconds_ = threadRunSeconds(dir);

    std::ifstream statusFile(dir + "status");
    std::stringstream status;
    status << "\n" << statusFile.rdbuf();
    rssKb_ = statusField(status.str(), "VmRSS");
    peakRssKb_ = statusField(status.str(), "VmHWM");
    threads_ = statusField(status.str(), "Threads");
    return rssKb_ >= 0;
}
