#include "muduo/base/LogFile.h"

#include <cstdio>
#include <unistd.h>

#include "muduo/base/FileUtil.h"
#include "platform/core/BoardClock.h"
#include "platform/core/BoardRoot.h"

namespace muduo
{
LogFile::LogFile(const std::string& basename, off_t rollSize, bool threadSafe, int flushInterval, int checkEveryN)
    : basename_(basename),
      rollSize_(rollSize),
      flushInterval_(flushInterval),
      checkEveryN_(checkEveryN > 0 ? checkEveryN : 1),
      count_(0),
      mutex_(threadSafe ? new MutexLock : nullptr),
      startOfPeriod_(0),
      lastRoll_(0),
      lastFlush_(0)
{
    rollFile();
}

LogFile::~LogFile() = default;

void LogFile::append(const char* logline, int len)
{
    if (mutex_)
    {
        MutexLockGuard lock(*mutex_);
        append_unlocked(logline, len);
    }
    else
    {
        append_unlocked(logline, len);
    }
}

void LogFile::flush()
{
    if (mutex_)
    {
        MutexLockGuard lock(*mutex_);
        file_->flush();
    }
    else
    {
        file_->flush();
    }
}

void LogFile::append_unlocked(const char* logline, int len)
{
    if (len <= 0)
        return;
    file_->append(logline, static_cast<size_t>(len));

    if (file_->writtenBytes() > rollSize_)
    {
        rollFile();
        return;
    }
    if (++count_ < checkEveryN_)
        return;
    count_ = 0;
    time_t now = board::wallClockSeconds();
    time_t thisPeriod = now / kRollPerSeconds_ * kRollPerSeconds_;
    if (thisPeriod != startOfPeriod_)
    {
        rollFile();
    }
    else if (now - lastFlush_ > flushInterval_)
    {
        lastFlush_ = now;
        file_->flush();
    }
}

bool LogFile::rollFile()
{
    time_t now = 0;
    std::string filename = getLogFileName(basename_, &now);
    time_t start = now / kRollPerSeconds_ * kRollPerSeconds_;
    // A name carries seconds only: a second roll within the same second
    // would reopen the same file, so keep appending to the current one.
    if (now > lastRoll_ || !file_)
    {
        lastRoll_ = now;
        lastFlush_ = now;
        startOfPeriod_ = start;
        file_.reset(new FileUtil::AppendFile(board::path(filename)));
        return true;
    }
    return false;
}

std::string LogFile::getLogFileName(const std::string& basename, time_t* now)
{
    std::string filename;
    filename.reserve(basename.size() + 64);
    filename = basename;

    char timebuf[32];
    struct tm tm;
    *now = board::wallClockSeconds();
    gmtime_r(now, &tm);
    strftime(timebuf, sizeof timebuf, ".%Y%m%d-%H%M%S.", &tm);
    filename += timebuf;

    char host[256];
    if (::gethostname(host, sizeof host) == 0)
    {
        host[sizeof host - 1] = '\0';
        filename += host;
    }
    else
    {
        filename += "unknownhost";
    }

    char pidbuf[32];
    snprintf(pidbuf, sizeof pidbuf, ".%d", ::getpid());
    filename += pidbuf;
    filename += ".log";
    return filename;
}
}  // namespace muduo
