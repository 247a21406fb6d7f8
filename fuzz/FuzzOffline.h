#pragma once
// Fuzz targets whose requests start ping tests or watchdogs would send echo
// requests to whatever address the input names.
#include <sched.h>

#include <cstdio>

namespace fuzz
{
// Moves the calling thread (the one that runs the inputs) into a network
// namespace of its own, with no interface up: what its sockets send reaches
// no one. False when that is not allowed; the caller then leaves out what
// would send.
inline bool takeOffline()
{
    if (::unshare(CLONE_NEWNET) == 0)
        return true;
    std::perror("fuzz: no network namespace of its own; the commands that ping are left out");
    return false;
}
}
