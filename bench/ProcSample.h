#pragma once
#include <sys/types.h>

// CPU time and memory of one process as /proc shows them at one moment.
class ProcSample
{
public:
    // False when the process is gone or its files cannot be parsed.
    bool take(pid_t pid);

    double cpuSeconds() const { return cpuSeconds_; }
    // The scheduler's run time of every thread, in ns steps (the stat
    // figures count whole clock ticks); -1 when /proc has no sched files.
    double runSeconds() const { return runSeconds_; }
    long rssKb() const { return rssKb_; }
    long peakRssKb() const { return peakRssKb_; }
    long threads() const { return threads_; }

private:
    double cpuSeconds_ = 0;  // user + system, the process's own threads
    double runSeconds_ = -1;
    long rssKb_ = 0;
    long peakRssKb_ = 0;
    long threads_ = 0;
};
