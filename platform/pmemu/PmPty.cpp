#include "PmPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace pmemu
{
namespace
{
std::string sysError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// mkdir -p of the link's folder.
bool makeParents(const std::string& path)
{
    for (size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1))
    {
        const std::string dir = path.substr(0, pos);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool makeLink(const std::string& target, const std::string& linkPath, std::string& error)
{
    struct stat st;
    if (!makeParents(linkPath))
        error = sysError("mkdir for " + linkPath);
    else if (::lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode))
        error = linkPath + " exists and is not a symbolic link";
    else if (::unlink(linkPath.c_str()) != 0 && errno != ENOENT)
        error = sysError("unlink " + linkPath);
    else if (::symlink(target.c_str(), linkPath.c_str()) != 0)
        error = sysError("symlink " + linkPath);
    else
        return true;
    return false;
}
}

PmPty::~PmPty()
{
    close();
}

bool PmPty::open(const std::string& linkPath, std::string& error, bool holdSlave)
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
    {
        error = sysError("posix_openpt");
        return false;
    }
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0)
    {
        error = sysError("pty set-up");
        close();
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0)
    {
        error = sysError("open " + slavePath_);
        close();
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B19200);
    ::tcsetattr(slave_, TCSANOW, &tio);
    if (!holdSlave)
    {
        ::close(slave_);  // the line settings stay with the pty
        slave_ = -1;
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

    if (!makeLink(slavePath_, linkPath, error))
    {
        close();
        return false;
    }
    linkPath_ = linkPath;
    return true;
}

void PmPty::close()
{
    if (!linkPath_.empty())
    {
        char target[256];
        const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == slavePath_)
            ::unlink(linkPath_.c_str());
        linkPath_.clear();
    }
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
    slavePath_.clear();
}
}
