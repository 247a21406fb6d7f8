#include "platform/core/BoardRoot.h"

#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace board
{
namespace
{
std::string readRoot()
{
    const char* env = ::getenv("RAILBOX_ROOT");
    std::string r = env ? env : "";
    while (r.size() > 1 && r.back() == '/')
        r.pop_back();
    if (r == "/")
        r.clear();
    return r;
}
}

const std::string& root()
{
    static const std::string r = readRoot();
    return r;
}

bool simulated() { return !root().empty(); }

std::string path(const std::string& absolute)
{
    if (!simulated() || absolute.empty() || absolute[0] != '/')
        return absolute;
    return root() + absolute;
}

int runCommand(const std::string& command)
{
    if (!simulated())
        return ::system(command.c_str());
    // Only the board's own commands: a missing stand-in must fail, never fall
    // through to the host's reboot or hwclock. The daemon's own PATH is left
    // alone.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (::strncmp(*e, "PATH=", 5) != 0)
            env.emplace_back(*e);
    env.push_back("PATH=" + root() + "/bin");
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t pid;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), envp.data()) != 0)
        return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;  // already reaped: SIGCHLD is ignored by the daemon
    return status;
}
}
