#pragma once
#include <gtest/gtest.h>

#include <string>

namespace test
{
// Test programs of a cross build run under qemu's user mode, and a program
// they start must be started through qemu too (binfmt is not relied on). A
// built program's path is therefore handed out as a wrapper script that runs
// it through the emulator; shell scripts and host tools start as they are.
bool emulated();
// path itself natively; under emulation, for an ARM executable, the wrapper
// (build/emulated/<path>), written on first use.
std::string runnablePath(const std::string& path);
// The running test program as runnablePath gives it (death tests and
// network-namespace reruns start it again).
std::string selfPath();
// The program a process runs (/proc/PID/exe; under emulation, where that is
// the emulator, the program it was given). Empty when the process is gone.
std::string programOf(const std::string& pid);
}

// The one way to leave a test out of the emulated run (scripts/test lists
// the skipped ones): for what qemu's user mode cannot give, say a kernel
// interface it does not translate. Network namespaces, root and built
// programs started by tests all work under it.
#define RAILBOX_SKIP_UNDER_EMULATION(why)                     \
    do                                                        \
    {                                                         \
        if (::test::emulated())                               \
            GTEST_SKIP() << "not run under emulation: " << why; \
    } while (0)
