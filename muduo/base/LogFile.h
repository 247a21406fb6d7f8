#pragma once
#include <ctime>
#include <memory>
#include <string>

#include "muduo/base/Mutex.h"

namespace muduo
{
namespace FileUtil
{
class AppendFile;
}

// A log file that starts a new file when rollSize bytes are written and at
// each new day (UTC), named basename.YYYYmmdd-HHMMSS.hostname.pid.log.
class LogFile : noncopyable
{
public:
    LogFile(const std::string& basename, off_t rollSize, bool threadSafe = true, int flushInterval = 3,
            int checkEveryN = 1024);
    ~LogFile();

    void append(const char* logline, int len);
    void flush();
    bool rollFile();

    static std::string getLogFileName(const std::string& basename, time_t* now);

private:
    void append_unlocked(const char* logline, int len);

    const std::string basename_;
    const off_t rollSize_;
    const int flushInterval_;
    const int checkEveryN_;

    int count_;
    std::unique_ptr<MutexLock> mutex_;
    time_t startOfPeriod_;
    time_t lastRoll_;
    time_t lastFlush_;
    std::unique_ptr<FileUtil::AppendFile> file_;

    const static int kRollPerSeconds_ = 60 * 60 * 24;
};
}  // namespace muduo
