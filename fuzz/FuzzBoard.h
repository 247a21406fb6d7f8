#pragma once
// The board root of fuzz targets that keep files between inputs.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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
}
