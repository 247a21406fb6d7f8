#pragma once
// The board root of fuzz targets that keep files between inputs, and what
// every target shares: a quiet log and no way out to the network.
#include <sched.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "muduo/base/Logging.h"
#include "platform/core/BoardRoot.h"

namespace fuzz
{
// $RAILBOX_ROOT when set (made, parents too, if it is not there yet), else a
// fresh temporary directory. Call before anything reads a board path: the
// root is read once, and files must never land on the host's own paths.
inline const std::string& useBoardRoot()
{
    const char* given = ::getenv("RAILBOX_ROOT");
    std::string root = given && *given ? given : "";
    if (root.empty())
    {
        char dir[] = "/tmp/railbox-fuzz.XXXXXX";
        if (!::mkdtemp(dir))
            std::abort();
        root = dir;
        ::setenv("RAILBOX_ROOT", dir, 1);
    }
    std::filesystem::create_directories(root);
    if (!board::simulated() || !std::filesystem::equivalent(board::root(), root))
    {
        std::fprintf(stderr, "fuzz: the board root was read before it was set\n");
        std::abort();
    }
    return board::root();
}

// Makes a board directory (an absolute board path) with its parents.
inline void makeBoardDir(const std::string& absolute)
{
    std::filesystem::create_directories(board::path(absolute));
}

// The unit's log level, and every line dropped: a target writes megabytes a
// minute otherwise.
inline void quietLog()
{
    muduo::Logger::setLogLevel(muduo::Logger::WARN);
    muduo::Logger::setOutput([](const char*, int) {});
}

// Moves the process into a network namespace of its own with no interface
// up, so that nothing a target sends (ping probes, NTP requests) leaves it.
// Call before the first socket is made; ends the run when it cannot be done.
inline void offline()
{
    static const bool done = [] {
        // Without root a user namespace must come too.
        if (::unshare(CLONE_NEWNET) == 0 || ::unshare(CLONE_NEWUSER | CLONE_NEWNET) == 0)
            return true;
        std::fprintf(stderr, "fuzz: cannot leave the host's network: %s\n", std::strerror(errno));
        std::abort();
    }();
    (void)done;
}
}
