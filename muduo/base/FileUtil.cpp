#include "muduo/base/FileUtil.h"

#include <cerrno>
#include <cstring>

namespace muduo
{
namespace FileUtil
{
AppendFile::AppendFile(const std::string& filename) : fp_(::fopen(filename.c_str(), "ae")), writtenBytes_(0)
{
    if (fp_)
        ::setbuffer(fp_, buffer_, sizeof buffer_);
    else
        fprintf(stderr, "AppendFile: cannot open %s: %s\n", filename.c_str(), strerror(errno));
}

AppendFile::~AppendFile()
{
    if (fp_)
        ::fclose(fp_);
}

void AppendFile::append(const char* logline, size_t len)
{
    if (!fp_)
        return;
    size_t written = 0;
    while (written < len)
    {
        size_t n = ::fwrite_unlocked(logline + written, 1, len - written, fp_);
        if (n == 0)
        {
            int err = ferror(fp_);
            if (err)
                fprintf(stderr, "AppendFile::append() failed %s\n", strerror(err));
            break;
        }
        written += n;
    }
    writtenBytes_ += static_cast<off_t>(written);
}

void AppendFile::flush()
{
    if (fp_)
        ::fflush(fp_);
}
}  // namespace FileUtil
}  // namespace muduo
