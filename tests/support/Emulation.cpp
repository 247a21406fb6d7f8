#include "support/Emulation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace test
{
#ifdef RAILBOX_EMULATOR
namespace
{
bool isElf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    return in.read(magic, 4) && magic[0] == 0x7f && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

bool makeDirs(const std::string& dir)
{
    for (size_t slash = dir.find('/', 1); ; slash = dir.find('/', slash + 1))
    {
        const std::string part = dir.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}
}
#endif

bool emulated()
{
#ifdef RAILBOX_EMULATOR
    return true;
#else
    return false;
#endif
}

std::string runnablePath(const std::string& path)
{
#ifdef RAILBOX_EMULATOR
    if (path.empty() || path[0] != '/' || !isElf(path))
        return path;
    const std::string wrapper = std::string(RAILBOX_BINARY_DIR) + "/emulated" + path;
    const std::string script = "#!/bin/sh\nexec " RAILBOX_EMULATOR " '" + path + "' \"$@\"\n";
    std::ifstream existing(wrapper);
    std::stringstream current;
    current << existing.rdbuf();
    if (current.str() == script)
        return wrapper;
    if (!makeDirs(wrapper.substr(0, wrapper.rfind('/'))))
        return path;
    // Test programs run in parallel: each writes its own copy, then renames.
    const std::string temp = wrapper + "." + std::to_string(::getpid());
    std::ofstream(temp) << script;
    if (::chmod(temp.c_str(), 0755) != 0 || std::rename(temp.c_str(), wrapper.c_str()) != 0)
        return path;
    return wrapper;
#else
    return path;
#endif
}

std::string programOf(const std::string& pid)
{
    char exe[4096];
    const ssize_t n = ::readlink(("/proc/" + pid + "/exe").c_str(), exe, sizeof exe - 1);
    if (n <= 0)
        return std::string();
    std::string program(exe, static_cast<size_t>(n));
#ifdef RAILBOX_EMULATOR
    std::istringstream emulator(RAILBOX_EMULATOR);
    std::string first;
    emulator >> first;
    if (program != first)
        return program;
    // argv: the emulator's words, then the program.
    size_t words = 1;
    for (std::string word; emulator >> word;)
        ++words;
    std::ifstream cmdline("/proc/" + pid + "/cmdline", std::ios::binary);
    std::string arg;
    for (size_t i = 0; i <= words && std::getline(cmdline, arg, '\0'); ++i)
        if (i == words)
            return arg;
    return std::string();
#else
    return program;
#endif
}

std::string selfPath()
{
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return std::string();
    return runnablePath(std::string(exe, static_cast<size_t>(n)));
}
}
