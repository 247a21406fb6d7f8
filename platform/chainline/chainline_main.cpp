// chainline: the cascade line that several simulated units share. Each LINK
// (a board's dev/ttyS3) becomes a link to a pseudo-terminal of its own; what
// one unit writes reaches all the others, paced at the line's rate, and the
// log tells who wrote what and when. End k is the k-th LINK. Runs until
// SIGINT or SIGTERM.
//   chainline [--log FILE] [--log-size BYTES] [--baud N] LINK...
#include <sys/signalfd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "LineEnd.h"
#include "LineLog.h"
#include "SharedLine.h"

namespace
{
int usage()
{
    std::fprintf(stderr, "usage: chainline [--log FILE] [--log-size BYTES] [--baud N] LINK...\n"
                         "  --log FILE        who wrote what and when (default: standard output)\n"
                         "  --log-size BYTES  a full FILE becomes FILE.1 and a new one begins (default %ld)\n"
                         "  --baud N          the line's rate, 8N1 (default 38400)\n",
                 chainline::LineLog::kDefaultMaxBytes);
    return 2;
}
}

int main(int argc, char** argv)
{
    std::string logPath;
    long baud = 38400;
    long logSize = chainline::LineLog::kDefaultMaxBytes;
    std::vector<std::string> links;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if ((arg == "--log" || arg == "--log-size" || arg == "--baud") && i + 1 < argc)
        {
            const std::string value = argv[++i];
            if (arg == "--log")
                logPath = value;
            else if (arg == "--log-size")
            {
                if ((logSize = std::strtol(value.c_str(), nullptr, 10)) < 1024)
                    return usage();
            }
            else if ((baud = std::strtol(value.c_str(), nullptr, 10)) < 300 || baud > 4000000)
                return usage();
        }
        else if (!arg.empty() && arg[0] != '-')
            links.push_back(arg);
        else
            return usage();
    }
    if (links.empty())
        return usage();

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);

    chainline::LineLog log(stdout);
    std::string error;
    if (!logPath.empty() && !log.open(logPath, logSize, error))
    {
        std::fprintf(stderr, "chainline: %s\n", error.c_str());
        return 1;
    }
    std::vector<std::unique_ptr<chainline::LineEnd>> ends;
    for (const std::string& link : links)
    {
        auto end = std::make_unique<chainline::LineEnd>();
        if (!end->open(link, error))
        {
            std::fprintf(stderr, "chainline: %s\n", error.c_str());
            return 1;
        }
        log.note(ends.size(), link + " -> " + end->slavePath());
        std::printf("chainline: end %zu %s -> %s\n", ends.size(), link.c_str(), end->slavePath().c_str());
        ends.push_back(std::move(end));
    }
    std::fflush(stdout);

    chainline::SharedLine line(std::move(ends), log, static_cast<int>(baud));
    line.serve(stopFd);
    return 0;
}
