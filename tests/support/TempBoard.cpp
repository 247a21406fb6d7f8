#include "support/TempBoard.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "support/Emulation.h"

namespace test
{
std::string makeTempDir(const std::string& prefix)
{
    const char* tmp = ::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + ".XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data()))
        throw std::runtime_error("mkdtemp failed for " + pattern);
    return buf.data();
}

void removeTree(const std::string& dir)
{
    if (dir.size() < 6 || dir.find("/tmp") == std::string::npos)
        return;  // refuse anything that is not plainly a temporary tree
    std::string cmd = "rm -rf '" + dir + "'";
    if (::system(cmd.c_str()) != 0)
        return;
}

std::string buildPath(const std::string& relative)
{
    return runnablePath(std::string(RAILBOX_BINARY_DIR) + "/" + relative);
}
std::string sourcePath(const std::string& relative) { return std::string(RAILBOX_SOURCE_DIR) + "/" + relative; }
}
