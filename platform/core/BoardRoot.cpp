#include "platform/core/BoardRoot.h"

#include <cstdlib>
#include <mutex>

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

void preparePath()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!simulated())
            return;
        const char* old = ::getenv("PATH");
        std::string p = root() + "/bin";
        p += ":";
        p += old ? old : "/usr/sbin:/usr/bin:/sbin:/bin";
        ::setenv("PATH", p.c_str(), 1);
    });
}

int runCommand(const std::string& command)
{
    preparePath();
    return ::system(command.c_str());
}
}
