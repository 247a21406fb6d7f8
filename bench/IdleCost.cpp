// The idle cost of a running process: CPU time per second of wall time and
// resident memory over a window, from /proc/<pid>/stat and /proc/<pid>/status.
#include <chrono>
#include <cstdio>
#include <thread>

#include "BenchOptions.h"
#include "ProcSample.h"

int main(int argc, char* argv[])
{
    BenchOptions options(argc, argv);
    long pid = options.number("pid", 0);
    double seconds = options.seconds("seconds", 60.0);
    double interval = options.seconds("interval", 1.0);
    if (!options.ok() || pid <= 0 || interval <= 0)
    {
        std::fprintf(stderr, "%s\nusage: bench_idle_cost --pid n [--seconds s] [--interval s]\n",
                     options.ok() ? "--pid is needed" : options.error().c_str());
        return 2;
    }
    typedef std::chrono::steady_clock Clock;
    ProcSample first, sample;
    if (!first.take(static_cast<pid_t>(pid)))
    {
        std::fprintf(stderr, "no process %ld\n", pid);
        return 1;
    }
    Clock::time_point start = Clock::now();
    Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    double rssSum = static_cast<double>(first.rssKb());
    long rssMax = first.rssKb(), samples = 1;
    sample = first;
    for (Clock::time_point next = start;;)
    {
        next += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(interval));
        if (next > end)
            next = end;
        std::this_thread::sleep_until(next);
        if (!sample.take(static_cast<pid_t>(pid)))
        {
            std::fprintf(stderr, "process %ld ended during the window\n", pid);
            return 1;
        }
        rssSum += static_cast<double>(sample.rssKb());
        rssMax = sample.rssKb() > rssMax ? sample.rssKb() : rssMax;
        ++samples;
        if (next >= end)
            break;
    }
    double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    double cpuPerSecond = (sample.cpuSeconds() - first.cpuSeconds()) / elapsed;
    // Threads that ended in the window drop out of the finer sum; it is
    // then no better than the tick count.
    double runPerSecond = (sample.runSeconds() - first.runSeconds()) / elapsed;
    if (first.runSeconds() < 0 || runPerSecond < 0)
        runPerSecond = cpuPerSecond;
    std::printf("pid=%ld seconds=%.1f cpu_ms_per_s=%.2f core_percent=%.3f run_ms_per_s=%.3f "
                "run_core_percent=%.4f rss_kb_mean=%.0f rss_kb_max=%ld peak_rss_kb=%ld threads=%ld\n",
                pid, elapsed, cpuPerSecond * 1000.0, cpuPerSecond * 100.0, runPerSecond * 1000.0,
                runPerSecond * 100.0, rssSum / static_cast<double>(samples),
                rssMax, sample.peakRssKb(), sample.threads());
    return 0;
}
