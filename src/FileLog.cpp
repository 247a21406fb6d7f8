#include "FileLog.h"

#include <cstring>
#include <pthread.h>
#include <string>

#include "muduo/base/AsyncLogging.h"
#include "muduo/base/Logging.h"

FileLog* FileLog::s_fileLog = nullptr;

namespace
{
const off_t kRollSize = 500 * 1000 * 1000;
const int kFlushInterval = 3;

pthread_once_t g_once = PTHREAD_ONCE_INIT;

void createInstance() { FileLog::instance(); }

void outputToFile(const char* msg, int len)
{
    pthread_once(&g_once, createInstance);
    FileLog::instance().append(msg, len);
}
}  // namespace

FileLog& FileLog::instance()
{
    // Never destroyed: threads may still log while the process exits.
    static FileLog* instance = (s_fileLog = new FileLog);
    return *instance;
}

void FileLog::start(const char* path)
{
    const char* slash = path ? strrchr(path, '/') : nullptr;
    std::string basename = std::string("./") + (slash ? slash + 1 : (path ? path : ""));

    std::unique_ptr<muduo::AsyncLogging> fresh(new muduo::AsyncLogging(basename, kRollSize, kFlushInterval));
    fresh->start();
    std::unique_ptr<muduo::AsyncLogging> old;
    {
        muduo::MutexLockGuard lock(mutex_);
        old.swap(backend_);
        backend_ = std::move(fresh);
    }
    if (old)
        old->stop();
    muduo::Logger::setOutput(outputToFile);
}

void FileLog::append(const char* logline, int len)
{
    muduo::MutexLockGuard lock(mutex_);
    if (backend_)
        backend_->append(logline, len);
}
